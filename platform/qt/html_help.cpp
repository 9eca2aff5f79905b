#include "platform/qt/html_help.h"

#include <QApplication>
#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/help_reference.h"
#include "platform/qt/window_handle.h"

namespace zentro {

namespace {

QPointer<HelpViewer> gViewer;

// ":/help/<name>.chm/<topic>" for a reference, or "" when it is malformed.
QString ResourceOf(const std::string& reference) {
    const std::optional<HelpReference> parts = ParseHelpReference(reference);
    if (!parts) return {};
    return QStringLiteral(":/help/") + QString::fromStdString(parts->helpName) + QLatin1Char('/') +
           QString::fromStdString(parts->topic);
}

}  // namespace

HelpViewer* HelpViewer::Instance() { return gViewer.data(); }

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    browser_->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(480, 360);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(browser_->documentTitle()); });
}

void HelpViewer::Show(const std::string& reference, const QString& resource) {
    reference_ = reference;
    resource_ = resource;
    browser_->setSource(QUrl(QStringLiteral("qrc") + resource));
    setWindowTitle(browser_->documentTitle());
    show();
    raise();
    activateWindow();
}

std::intptr_t HtmlHelpA(WindowHandle ownerWindow, const char* file, unsigned command, std::uintptr_t) {
    QWidget* owner = AsWidget(ownerWindow);
    if (command != kHelpDisplayTopic || file == nullptr || QApplication::instance() == nullptr) return 0;
    const QString resource = ResourceOf(file);
    if (resource.isEmpty() || !QFile::exists(resource)) return 0;
    // A window owned by nobody would be blocked by the modal wizard: hang it
    // on the modal window instead, as a window of its own.
    if (owner == nullptr) owner = QApplication::activeModalWidget();
    if (gViewer && gViewer->parentWidget() != owner) gViewer->setParent(owner, Qt::Window);
    if (!gViewer) gViewer = new HelpViewer(owner);
    gViewer->Show(file, resource);
    return reinterpret_cast<std::intptr_t>(gViewer.data());
}

}  // namespace zentro
