#pragma once
// The HTML help viewer. References name a help file and a topic in it,
// "<folder>/<name>.chm::/<topic>.html"; the topics are built into the program
// as resources under ":/help/<name>.chm/", so the folder part only says where
// the file would lie. The viewer is one window, reused for every topic.
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>

class QTextBrowser;

namespace zentro {

constexpr unsigned kHelpDisplayTopic = 0;

// Shows the topic `file` names (`command` kHelpDisplayTopic, `data` unused).
// Returns the viewer window as an integer, or 0 (and opens nothing, says
// nothing) for another command, a malformed reference or an unknown topic.
// With no `owner`, the viewer stays usable beside a running modal wizard.
std::intptr_t HtmlHelpA(QWidget* owner, const char* file, unsigned command, std::uintptr_t data);

class HelpViewer : public QWidget {
    Q_OBJECT

public:
    // The viewer if it has been opened and still exists; null otherwise.
    static HelpViewer* Instance();

    // The reference last shown and the resource it was found in.
    const std::string& Reference() const { return reference_; }
    QString Resource() const { return resource_; }

private:
    friend std::intptr_t HtmlHelpA(QWidget*, const char*, unsigned, std::uintptr_t);
    explicit HelpViewer(QWidget* owner);
    void Show(const std::string& reference, const QString& resource);

    QTextBrowser* browser_;
    std::string reference_;
    QString resource_;
};

}  // namespace zentro
