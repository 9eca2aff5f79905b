#include "platform/open_dialog.h"

#include <QDir>
#include <QFileDialog>

#include "platform/qt/open_dialog.h"
#include "platform/qt/window_handle.h"

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

bool ShowOpenDialog(WindowHandle owner, const std::string& filter, const std::string& defaultExtension,
                    std::string& path) {
    QFileDialog dialog(AsWidget(owner));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    dialog.setNameFilters(NameFiltersFromResource(QString::fromStdString(filter)));
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return false;
    path = QDir::toNativeSeparators(chosen.first()).toStdString();
    return true;
}

bool ShowFolderDialog(WindowHandle owner, std::string& folder) {
    const QString chosen = QFileDialog::getExistingDirectory(AsWidget(owner));
    if (chosen.isEmpty()) return false;
    folder = QDir::toNativeSeparators(chosen).toStdString();
    return true;
}

}  // namespace zentro
