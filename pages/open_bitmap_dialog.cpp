#include "pages/open_bitmap_dialog.h"

#include <QFileDialog>
#include <QLineEdit>

#include "app/picture_file.h"
#include "platform/string_table.h"

namespace zentro {

QStringList NameFiltersFromResource(const QString& filter) {
    // Pairs end at the first empty description, so the closing "||" ends the list.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        const QString& description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The dialog reads the patterns from the last parentheses of a filter;
        // descriptions usually show them there already.
        const QString shown = QStringLiteral("(%1)").arg(patterns);
        filters << (description.endsWith(shown) ? description : description + QLatin1Char(' ') + shown);
    }
    return filters;
}

namespace {

// Every picture the wizard reads (on a build with the decoders), then bitmaps
// alone, then all files.
QStringList OpenDialogFilters() {
    const unsigned id = ReadsEveryPicture() ? IDS_PICTURE_FILTER : IDS_BITMAP_FILTER;
    return NameFiltersFromResource(QString::fromUtf8(LoadString(id)));
}

}  // namespace

bool BrowseForBitmap(QWidget* owner, QLineEdit* target) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name that does not exist is let through: the reader says so on Next.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    dialog.setNameFilters(OpenDialogFilters());
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return false;
    target->setText(QDir::toNativeSeparators(chosen.first()));
    return true;
}

}  // namespace zentro
