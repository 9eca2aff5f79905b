#pragma once
// The Qt side of the help viewer: topics are resources under ":/help/<name>.chm/".
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "platform/html_help.h"

class QTextBrowser;

namespace zentro {

class HelpViewer : public QWidget {
    Q_OBJECT

public:
    // The viewer if it has been opened and still exists; null otherwise.
    static HelpViewer* Instance();

    // The reference last shown and the resource it was found in.
    const std::string& Reference() const { return reference_; }
    QString Resource() const { return resource_; }

private:
    friend std::intptr_t HtmlHelpA(WindowHandle, const char*, unsigned, std::uintptr_t);
    explicit HelpViewer(QWidget* owner);
    void Show(const std::string& reference, const QString& resource);

    QTextBrowser* browser_;
    std::string reference_;
    QString resource_;
};

}  // namespace zentro
