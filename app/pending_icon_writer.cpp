#include "app/pending_icon_writer.h"

#include "platform/message.h"
#include "platform/string_table.h"

namespace zentro {

// This build has no icon writer yet: say that the file cannot be made rather
// than pretend it was.
bool WriteIconFile(const ImageStore&, const std::string&, const FormatChoices&, const SizeChoices&) {
    ShowMessage(IDS_CANNOT_CREATE, MessageIcon::Error);
    return false;
}

}  // namespace zentro
