#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

namespace lotgrid {

class VersionFetch;

struct UpdateSettings {
    QUrl server;                               // base address; the version text is at "/Tessa/tessaver.txt"
    int timeoutMs = 10000;                     // a fetch that has not ended by then has failed
    std::function<void(const QUrl &)> openUrl; // opens the program page, without waiting
};

// The update check `Upload`: a three-step wizard that fetches the published
// version text and compares it with the program's own.
//
// Step 1 (Frame1) shows the program's version; "下一步" fetches the published
// one. The same text, once surrounding white space is trimmed, closes the
// wizard as up to date; any failure (network, HTTP error status, time-out,
// an oversized body, an empty text) is reported and leaves step 1 as it was.
// A different text leads to step 2 (Frame2), which shows it as plain text and
// offers to open the program page in the browser, which is step 3 (Frame3).
// While the fetch runs the program keeps drawing, but the wizard takes no input.
class UpdateWizard : public QDialog
{
    Q_OBJECT
public:
    explicit UpdateWizard(UpdateSettings settings, QWidget *parent = nullptr);
    ~UpdateWizard() override;

    static QUrl versionUrl(const QUrl &server); // server + "/Tessa/tessaver.txt"
    static QUrl pageUrl(const QUrl &server);    // server + "/Tessa/"

    bool isChecking() const { return m_checking; }

    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void checked(bool ok, const QString &text);
    void message(bool warning, const QString &text);

    UpdateSettings m_settings;
    VersionFetch *m_fetch;
    bool m_checking = false;

    QGroupBox *Frame1;
    QGroupBox *Frame2;
    QGroupBox *Frame3;
    QLabel *Ver;
    QLabel *LinfoVer;
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *Command3;
    QPushButton *Command4;
    QPushButton *Command5;
};

} // namespace lotgrid
