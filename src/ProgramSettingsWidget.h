#pragma once

#include <QDialog>

class QLineEdit;

// Edits the three file names in use: devices, requests and responses.
class ProgramSettingsWidget : public QDialog
{
    Q_OBJECT

public:
    explicit ProgramSettingsWidget(QWidget* parent = nullptr);

public slots:
    // Stores the names as typed and makes them the names in use.
    void writeSettings();

private:
    QLineEdit* m_devicesEdit = nullptr;
    QLineEdit* m_requestsEdit = nullptr;
    QLineEdit* m_responsesEdit = nullptr;
};
