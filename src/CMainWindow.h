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

    // Where moveToCenter puts a window frame of the given size on the given
    // screen area: left of and above the centre, but never past the area's
    // edges (a frame larger than the area keeps its top left corner on it).
    static QPoint centeredTopLeft(const QRect& available, const QSize& frameSize);

    // The restart starts a new copy of the program in the given directory;
    // tests put a double in its place.
    using RestartHandler = std::function<void(const QString& program, const QString& workingDirectory)>;
    void setRestartHandler(RestartHandler handler) { m_restartHandler = std::move(handler); }

    CLeftPanel* leftPanel() const { return m_leftPanel; }
    CTopPanel* topPanel() const { return m_topPanel; }
    CIAboutDevice* workspace() const { return m_workspace; }

public slots:
    void moveToCenter();
    void restartApp();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitToContents();
    // The size the contents ask for, as far as the area has room for it.
    QSize fittingSize(const QRect& available) const;

    bool m_placed = false;

    RestartHandler m_restartHandler;
    CLeftPanel* m_leftPanel = nullptr;
    CTopPanel* m_topPanel = nullptr;
    CIAboutDevice* m_workspace = nullptr;
};
