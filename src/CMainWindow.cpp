#include "CMainWindow.h"

#include "CIAboutDevice.h"
#include "CLeftPanel.h"
#include "CMessageParser.h"
#include "CTopPanel.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QProcess>
#include <QScreen>
#include <QVBoxLayout>

CMainWindow::CMainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setGeometry(0, 20, 640, 480);

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    setCentralWidget(central);

    m_leftPanel = new CLeftPanel(central);
    m_leftPanel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Minimum);
    layout->addWidget(m_leftPanel);

    auto* rightColumn = new QVBoxLayout;
    rightColumn->setContentsMargins(10, 0, 0, 0);
    layout->addLayout(rightColumn, 0);
    m_topPanel = new CTopPanel(central);
    rightColumn->addWidget(m_topPanel);
    m_workspace = new CIAboutDevice(central);
    m_workspace->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    rightColumn->addWidget(m_workspace);

    connect(m_leftPanel, &CLeftPanel::newDeviceInfo, m_workspace, &CIAboutDevice::scanDeviceInfo);
    connect(m_workspace, &CIAboutDevice::resizeWindow, this, &CMainWindow::fitToContents);
    connect(m_topPanel, &CTopPanel::closeProgramm, this, &CMainWindow::restartApp);
    connect(CMessageParser::instance(), &CMessageParser::serverInfoResp, m_topPanel,
            &CTopPanel::countDevicesOnServer);

    moveToCenter();
}

QPoint CMainWindow::centeredTopLeft(const QRect& available, const QSize& size)
{
    const int centreX = (available.left() + available.right()) / 2;
    const int centreY = (available.top() + available.bottom()) / 2;
    // Slightly left of and above the true centre, as operators are used to.
    return QPoint(int(centreX - 0.75 * size.width()), int(centreY - 0.45 * size.height()));
}

void CMainWindow::moveToCenter()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    move(centeredTopLeft(screen->availableGeometry(), size()));
}

void CMainWindow::fitToContents()
{
    resize(minimumSizeHint());
}

void CMainWindow::restartApp()
{
    if (m_restartHandler) {
        m_restartHandler();
        return;
    }
    const QString program = QCoreApplication::applicationFilePath();
    QProcess::startDetached(program, {}, QFileInfo(program).absolutePath());
    QCoreApplication::exit(0);
}
