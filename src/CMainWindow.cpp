#include "CMainWindow.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QFileInfo>
#include <QProcess>
#include <QScreen>

CMainWindow::CMainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setGeometry(0, 20, 640, 480);
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
