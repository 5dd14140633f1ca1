#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

namespace lotgrid {

struct UpdateSettings {
    QUrl server;            // base address; the version text is at "/Tessa/tessaver.txt"
    int timeoutMs = 10000;  // a fetch that has not ended by then has failed
    std::function<void(const QUrl &)> openUrl; // opens the program page, without waiting
};

// The update check `Upload`: a three-step wizard that fetches the published
// version text and compares it with the program's own.
class UpdateWizard : public QDialog
{
    Q_OBJECT
public:
    explicit UpdateWizard(UpdateSettings settings, QWidget *parent = nullptr);

private:
    UpdateSettings m_settings;
};

} // namespace lotgrid
