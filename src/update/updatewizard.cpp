#include "update/updatewizard.h"

#include "update/versionfetch.h"

#include "core/version.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

const QString NoServerText = u"此版本没有配置更新服务器，无法在线检查更新。"_s;
const QString CheckingText = u"正在检查更新……（按 Esc 键取消）"_s;

constexpr QSize PanelSize{150, 200};  // the decorative panel, in pixels
constexpr QSize WindowSize{440, 212}; // about the program's 6315 × 2970 twips, a little wider for the frames' texts

// The decorative panel on the left: the character 爻 on a blue panel, drawn
// at the screen's device pixel ratio so it stays sharp when scaled.
QPixmap panelPixmap(qreal devicePixelRatio)
{
    QPixmap pixmap(PanelSize * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    const QRect area(QPoint(0, 0), PanelSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient blue(0, 0, 0, PanelSize.height());
    blue.setColorAt(0, QColor(0x2f, 0x6f, 0xc8));
    blue.setColorAt(1, QColor(0x0f, 0x2f, 0x7a));
    p.fillRect(area, blue);
    p.setPen(QPen(QColor(255, 255, 255, 90), 2));
    p.drawRect(QRectF(area).adjusted(6, 6, -6, -6));
    QFont font = p.font();
    font.setPixelSize(96);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(area, Qt::AlignCenter, u"爻"_s);
    return pixmap;
}

QUrl underServer(const QUrl &server, const QString &path)
{
    QUrl url = server;
    QString base = url.path();
    while (base.endsWith(u'/'))
        base.chop(1);
    url.setPath(base + path);
    return url;
}

QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

UpdateWizard::UpdateWizard(UpdateSettings settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(std::move(settings))
    , m_fetch(new VersionFetch(this))
{
    setObjectName(u"Upload"_s);
    setWindowTitle(u"检查更新"_s);

    auto *panel = new QLabel(this);
    panel->setPixmap(panelPixmap(devicePixelRatioF()));
    panel->setFixedSize(PanelSize);

    Frame1 = new QGroupBox(u"第一步"_s, this);
    Frame1->setObjectName(u"Frame1"_s);
    Ver = plainLabel(QStringView(VersionText).toString(), Frame1);
    Ver->setObjectName(u"Ver"_s);
    {
        auto *l = new QVBoxLayout(Frame1);
        for (const QString &line :
             {u"这将在线检查更新，需要用到您的网络。"_s, u"请保持网络的畅通性，以免发生错误。"_s}) {
            QLabel *label = plainLabel(line, Frame1);
            label->setVisible(hasServer()); // there is no network to ask for without a server
            l->addWidget(label);
        }
        l->addStretch();
        auto *row = new QHBoxLayout;
        row->addWidget(plainLabel(u"当前版本号："_s, Frame1));
        row->addWidget(Ver);
        row->addStretch();
        l->addLayout(row);
        Labelstate = plainLabel(QString(), Frame1);
        Labelstate->setObjectName(u"Labelstate"_s);
        Labelstate->setWordWrap(true);
        l->addWidget(Labelstate);
    }
    if (!hasServer())
        Labelstate->setText(NoServerText);
    Labelstate->setVisible(!hasServer());

    Frame2 = new QGroupBox(u"第二步"_s, this);
    Frame2->setObjectName(u"Frame2"_s);
    LinfoVer = plainLabel(QString(), Frame2); // the server's text, never read as markup
    LinfoVer->setObjectName(u"LinfoVer"_s);
    LinfoVer->setWordWrap(true);
    LinfoVer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LinfoVer->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LinfoVer->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored); // a long text is cut, not the window grown
    {
        auto *l = new QVBoxLayout(Frame2);
        l->addWidget(plainLabel(u"在服务器上发现新的版本号："_s, Frame2));
        l->addWidget(LinfoVer, 1);
        Labelpage = plainLabel(QString(), Frame2);
        Labelpage->setObjectName(u"Labelpage"_s);
        Labelpage->setWordWrap(true);
        Labelpage->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        Labelpage->hide();
        l->addWidget(Labelpage);
    }
    Frame2->hide();

    Frame3 = new QGroupBox(u"完成"_s, this);
    Frame3->setObjectName(u"Frame3"_s);
    {
        auto *l = new QVBoxLayout(Frame3);
        l->addWidget(plainLabel(u"您已完成更新！"_s, Frame3));
        l->addStretch();
    }
    Frame3->hide();

    Command1 = button(u"Command1"_s, u"< 上一步(&P)"_s, this);
    Command1->setEnabled(false);
    Command2 = button(u"Command2"_s, u"下一步(&N) >"_s, this);
    Command3 = button(u"Command3"_s, u"< 上一步(&P)"_s, this);
    Command3->hide();
    Command4 = button(u"Command4"_s, u"下一步(&N) >"_s, this);
    Command4->hide();
    Command5 = button(u"Command5"_s, u"完成(&F)"_s, this);
    Command5->hide();
    Cancel = button(u"cancel"_s, u"取消"_s, this);

    connect(Command2, &QPushButton::clicked, this, &UpdateWizard::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &UpdateWizard::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &UpdateWizard::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &UpdateWizard::Command5_Click);
    connect(Cancel, &QPushButton::clicked, this, &UpdateWizard::reject);
    connect(m_fetch, &VersionFetch::finished, this, &UpdateWizard::checked);

    // The frames share one place, as do the back buttons and the next buttons;
    // "完成" sits between them, "取消" at the end on every step.
    auto *frames = new QGridLayout;
    frames->addWidget(Frame1, 0, 0);
    frames->addWidget(Frame2, 0, 0);
    frames->addWidget(Frame3, 0, 0);

    auto *buttons = new QGridLayout;
    buttons->setColumnStretch(0, 1);
    buttons->addWidget(Command1, 0, 1);
    buttons->addWidget(Command3, 0, 1);
    buttons->addWidget(Command5, 0, 2);
    buttons->addWidget(Command2, 0, 3);
    buttons->addWidget(Command4, 0, 3);
    buttons->addWidget(Cancel, 0, 4);
    const int buttonWidth = std::max({Command1->sizeHint().width(), Command2->sizeHint().width(),
                                      Command5->sizeHint().width(), Cancel->sizeHint().width()});
    for (int column = 1; column <= 4; ++column)
        buttons->setColumnMinimumWidth(column, buttonWidth);

    auto *right = new QVBoxLayout;
    right->addLayout(frames, 1);
    right->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 8, 6);
    layout->addWidget(panel, 0, Qt::AlignTop);
    layout->addLayout(right, 1);

    // Without a server the wizard has one page, which says so, and 关闭.
    if (!hasServer()) {
        Frame1->setTitle(u"检查更新"_s);
        Command1->hide();
        Command2->hide();
        Cancel->setText(u"关闭"_s);
        Cancel->setDefault(true);
    }
    setFixedSize(WindowSize.expandedTo(layout->minimumSize()));
    (hasServer() ? Command2 : Cancel)->setFocus();
}

UpdateWizard::~UpdateWizard() = default;

QUrl UpdateWizard::versionUrl(const QUrl &server)
{
    return underServer(server, u"/Tessa/tessaver.txt"_s);
}

QUrl UpdateWizard::pageUrl(const QUrl &server)
{
    return underServer(server, u"/Tessa/"_s);
}

bool UpdateWizard::hasServer() const
{
    return m_settings.server.isValid() && !m_settings.server.isRelative();
}

void UpdateWizard::Command2_Click()
{
    if (m_checking)
        return;
    if (!hasServer()) {
        message(false, NoServerText);
        Command2->setFocus();
        return;
    }
    Command2->setEnabled(false);
    m_checking = true;
    Labelstate->setText(CheckingText);
    Labelstate->show();
    setCursor(Qt::BusyCursor);
    m_fetch->start(versionUrl(m_settings.server), m_settings.timeoutMs);
}

void UpdateWizard::cancelCheck()
{
    m_fetch->cancel();
    m_checking = false;
    Labelstate->hide();
    unsetCursor();
    Command2->setEnabled(true);
}

void UpdateWizard::checked(bool ok, const QString &text)
{
    m_checking = false;
    Labelstate->hide();
    unsetCursor();

    const QString version = versionToken(text);
    if (!ok || version.isEmpty()) {
        message(true, u"检测失败，请检查您的网络，或稍后再试。"_s);
        Command2->setEnabled(true);
        Command2->setFocus();
        return;
    }
    switch (versionOrder(version, QString::fromUtf8(Version))) {
    case VersionOrder::SameOrEarlier:
        message(false, u"您当前版本已是最新，无需更新！"_s);
        accept();
        return;
    case VersionOrder::NotAVersion:
        message(true, u"服务器上的版本号无法识别：%1"_s.arg(version));
        Command2->setEnabled(true);
        Command2->setFocus();
        return;
    case VersionOrder::Later:
        break;
    }
    LinfoVer->setText(version);
    Frame1->hide();
    Frame2->show();
    Command1->hide();
    Command2->hide();
    Command3->show();
    Command4->show();
    Command4->setFocus();
}

void UpdateWizard::Command3_Click()
{
    Frame1->show();
    Frame2->hide();
    Command2->setEnabled(true);
    Command1->show();
    Command2->show();
    Command3->hide();
    Command4->hide();
    Command2->setFocus();
}

void UpdateWizard::Command4_Click()
{
    const QUrl page = pageUrl(m_settings.server);
    if (!m_settings.openUrl || !m_settings.openUrl(page)) {
        const QString address = page.toDisplayString();
        Labelpage->setText(u"请在浏览器中打开：\n"_s + address);
        Labelpage->show();
        message(true, u"无法打开浏览器。请在浏览器中手动打开程序主页：\n\n"_s + address);
        Command4->setFocus();
        return;
    }
    Frame3->show();
    Frame1->hide();
    Frame2->hide();
    Command1->hide();
    Command2->hide();
    Command3->hide();
    Command4->hide();
    Command5->show();
    Command5->setFocus();
}

void UpdateWizard::Command5_Click()
{
    accept();
}

void UpdateWizard::reject()
{
    if (m_checking)
        cancelCheck();
    QDialog::reject();
}

void UpdateWizard::closeEvent(QCloseEvent *event)
{
    if (m_checking)
        cancelCheck();
    QDialog::closeEvent(event);
}

void UpdateWizard::message(bool warning, const QString &text)
{
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information, u"提示"_s, text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace lotgrid
