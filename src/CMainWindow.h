#pragma once

#include <QMainWindow>

#include <functional>

class CIAboutDevice;
class CLeftPanel;
class CTopPanel;

// The window: left panel (logo, login, scanner), top panel (counters,
// delete-added, language) and the registration workspace.
class CMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainWindow(QWidget* parent = nullptr);

    // Where moveToCenter puts a window of the given size on the given screen area.
    static QPoint centeredTopLeft(const QRect& available, const QSize& size);

    // The restart starts a new copy of the program; tests put a double in its place.
    void setRestartHandler(std::function<void()> handler) { m_restartHandler = std::move(handler); }

    CLeftPanel* leftPanel() const { return m_leftPanel; }
    CTopPanel* topPanel() const { return m_topPanel; }
    CIAboutDevice* workspace() const { return m_workspace; }

public slots:
    void moveToCenter();
    void restartApp();

private:
    void fitToContents();

    std::function<void()> m_restartHandler;
    CLeftPanel* m_leftPanel = nullptr;
    CTopPanel* m_topPanel = nullptr;
    CIAboutDevice* m_workspace = nullptr;
};
