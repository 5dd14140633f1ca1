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
    QUrl server;           // base address; the version text is at "/Tessa/tessaver.txt"; empty: no update server
    int timeoutMs = 10000; // a fetch that has not ended by then has failed
    // Opens the program page without waiting; false when no browser or handler took it.
    std::function<bool(const QUrl &)> openUrl;
};

// The update check `Upload`: a three-step wizard that fetches the published
// version text and compares it with the program's own.
//
// Step 1 (Frame1) shows the program's version; "下一步" fetches the published
// one. Only the version the text names counts (versionToken), compared with
// the program's own as numbers (versionOrder): the same or an earlier version
// closes the wizard as up to date; any failure (network, HTTP error status,
// time-out, an oversized body, no text) is reported, as is a text that is no
// version, and leaves step 1 as it was. A later version leads to step 2 (Frame2), which
// shows it and offers to open the program page in the browser, which is step 3
// (Frame3); when the page cannot be opened the wizard stays at step 2 and
// shows the page's address to open by hand.
// While the fetch runs the program keeps drawing and step 1 says that it is
// checking. "取消", on every step, Escape and the close box close the wizard,
// cancelling a fetch under way.
// A program built without an update server says so on one page, whose only
// button is 关闭.
class UpdateWizard : public QDialog
{
    Q_OBJECT
public:
    explicit UpdateWizard(UpdateSettings settings, QWidget *parent = nullptr);
    ~UpdateWizard() override;

    static QUrl versionUrl(const QUrl &server); // server + "/Tessa/tessaver.txt"
    static QUrl pageUrl(const QUrl &server);    // server + "/Tessa/"

    bool isChecking() const { return m_checking; }
    bool hasServer() const;

    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void checked(bool ok, const QString &text);
    void cancelCheck();
    void message(bool warning, const QString &text);

    UpdateSettings m_settings;
    VersionFetch *m_fetch;
    bool m_checking = false;

    QGroupBox *Frame1;
    QGroupBox *Frame2;
    QGroupBox *Frame3;
    QLabel *Ver;
    QLabel *LinfoVer;
    QLabel *Labelstate; // step 1: checking, or no update server
    QLabel *Labelpage;  // step 2: the page's address when it could not be opened
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *Command3;
    QPushButton *Command4;
    QPushButton *Command5;
    QPushButton *Cancel; // "取消", named "cancel"
};

} // namespace lotgrid
