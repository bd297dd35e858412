#pragma once

#include "LoraRecords.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The strip above the workspace: the server's device total, the devices
// added in this run with the button that deletes them, and the language switch.
class CTopPanel : public QWidget
{
    Q_OBJECT

public:
    explicit CTopPanel(QWidget* parent = nullptr);

signals:
    // The operator chose another language and closed the notice: restart.
    void closeProgramm();

public slots:
    void countDevicesOnServer(CloraInfoResp countdeviceinfo);
    void setCurrentDevicesCount(int count);

private:
    void changeLanguage(int index);
    void deleteAddedDevices();

    QVBoxLayout* m_layout = nullptr;
    QLabel* m_totalCaption = nullptr;
    QLabel* m_totalValue = nullptr;
    QLabel* m_addedCaption = nullptr;
    QLabel* m_addedValue = nullptr;
    QLabel* m_languageCaption = nullptr;
    QComboBox* m_languageBox = nullptr;
    QPushButton* m_deleteButton = nullptr;
};
