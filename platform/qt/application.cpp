#include "platform/qt/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/qt/dialog_units.h"

namespace zentro {

void PrepareGui(QApplication& application) {
    application.setFont(DialogFont());
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    auto* translator = new QTranslator(&application);
    if (translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    InstallMessageBoxes();
}

int RunApplication(const char* programName) {
    int argc = 1;
    char* argv[] = {const_cast<char*>(programName), nullptr};
    QApplication qt(argc, argv);
    PrepareGui(qt);
    if (Application* application = Application::Current()) application->InitInstance();
    return 0;
}

}  // namespace zentro
