#include "CMainWindow.h"

#include "CIAboutDevice.h"
#include "CLeftPanel.h"
#include "CMessageParser.h"
#include "CTopPanel.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QProcess>
#include <QScreen>
#include <QShowEvent>
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
    // In height it may get less than it asks for: its long parts scroll.
    m_workspace->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Expanding);
    rightColumn->addWidget(m_workspace);

    connect(m_leftPanel, &CLeftPanel::newDeviceInfo, m_workspace, &CIAboutDevice::scanDeviceInfo);
    connect(m_workspace, &CIAboutDevice::resizeWindow, this, &CMainWindow::fitToContents);
    connect(m_topPanel, &CTopPanel::closeProgramm, this, &CMainWindow::restartApp);
    connect(CMessageParser::instance(), &CMessageParser::serverInfoResp, m_topPanel,
            &CTopPanel::countDevicesOnServer);
}

namespace {

// The top left corner nearest to the given one that keeps a frame of this
// size on the area.
QPoint keptInside(const QRect& available, const QPoint& topLeft, const QSize& frameSize)
{
    const int x = qMax(available.left(), qMin(topLeft.x(), available.right() + 1 - frameSize.width()));
    const int y = qMax(available.top(), qMin(topLeft.y(), available.bottom() + 1 - frameSize.height()));
    return QPoint(x, y);
}

QRect availableArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

QPoint CMainWindow::centeredTopLeft(const QRect& available, const QSize& frameSize)
{
    const int centreX = (available.left() + available.right()) / 2;
    const int centreY = (available.top() + available.bottom()) / 2;
    // Slightly left of and above the true centre, as operators are used to.
    const QPoint usual(int(centreX - 0.75 * frameSize.width()), int(centreY - 0.45 * frameSize.height()));
    return keptInside(available, usual, frameSize);
}

void CMainWindow::showEvent(QShowEvent* event)
{
    // Placed once its contents are laid out: placed from its construction
    // size, it grew past the bottom of the screen.
    if (!m_placed && !event->spontaneous()) {
        m_placed = true;
        moveToCenter();
    }
    QMainWindow::showEvent(event);
}

QSize CMainWindow::fittingSize(const QRect& available) const
{
    // Title bar and borders come on top of the window's own size.
    const QSize frame = frameGeometry().size() - size();
    return sizeHint().boundedTo(available.size() - frame).expandedTo(minimumSizeHint());
}

void CMainWindow::moveToCenter()
{
    const QRect available = availableArea();
    if (available.isEmpty())
        return;
    resize(fittingSize(available));
    move(centeredTopLeft(available, frameGeometry().size()));
}

void CMainWindow::fitToContents()
{
    const QRect available = availableArea();
    if (available.isEmpty()) {
        resize(sizeHint().expandedTo(minimumSizeHint()));
        return;
    }
    resize(fittingSize(available));
    move(keptInside(available, pos(), frameGeometry().size()));
}

void CMainWindow::restartApp()
{
    // The new copy starts where this one did, so it reads the same
    // settings.cfg: an installed program's own directory is not writable.
    const QString program = QCoreApplication::applicationFilePath();
    if (m_restartHandler) {
        m_restartHandler(program, QDir::currentPath());
        return;
    }
    QProcess::startDetached(program, {}, QDir::currentPath());
    QCoreApplication::exit(0);
}
