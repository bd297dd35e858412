#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLayout;
class QVBoxLayout;

// A collapsible group of device settings: collapsed it is a check box with the
// title, expanded a checked group box with the controls. Expanded also means
// enabled: the values of a collapsed group count as not set where the
// registration says so. Concrete groups add no meta-object of their own, so
// all of them translate in this class's context.
class CAbstatractSettingsField : public QWidget
{
    Q_OBJECT

public:
    explicit CAbstatractSettingsField(QWidget* parent);

    bool isExpanded() const;

signals:
    void edited();
    void showSetDeviceClassC(QString);

public slots:
    void expand();
    void expandAll();

protected slots:
    void setGrName(QString name);
    void appendWidget(QWidget* widget);
    void appendLayout(QLayout* layout);

protected:
    // A labelled row of the common pattern: label, then control, in a row
    // with margin 1 and spacing 2, appended like any other layout.
    QHBoxLayout* appendRow(const QString& label, QWidget* control,
                           int labelStretch, int controlStretch);

    QList<QPointer<CAbstatractSettingsField>> childGroups;
    QCheckBox* expandCheck = nullptr;
    QGroupBox* groupBox = nullptr;
    QVBoxLayout* groupLayout = nullptr;
};
