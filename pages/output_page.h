#pragma once
// Last page: the icon file's name, proposed by the Input page.
//
// So far the page shows and keeps the name; the checks on Finish (length,
// folder, directory, overwrite) and the folder browser are still to come.
#include <QLineEdit>
#include <string>

#include "app/bmp_property_page.h"

namespace zentro {

class COutputPage : public CBmpPropertyPage {
public:
    explicit COutputPage(const QRect* pageRect);

    bool OnSetActive() override;
    bool OnWizardFinish() override;

    // The icon file to write; written by the Input page, read by the driver.
    std::string path;

protected:
    void DoDataExchange(DataExchange& dx) override;

private:
    QLineEdit* pathEdit_ = nullptr;
};

}  // namespace zentro
