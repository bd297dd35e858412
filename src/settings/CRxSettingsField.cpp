#include "CRxSettingsField.h"

#include <QComboBox>
#include <QCoreApplication>

namespace {

QComboBox* newList(QWidget* parent, const char* objectName, const QString& pattern, int from, int to)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(objectName));
    for (int value = from; value <= to; ++value)
        list->addItem(pattern.arg(value), value);
    return list;
}

} // namespace

CRxSettingsField::CRxSettingsField(QWidget* parent)
    : CAbstatractSettingsField(parent)
{
    setGrName(QCoreApplication::translate("CAbstatractSettingsField", "Настройки устройства RX"));

    rxWindowList = newList(this, "rxWindowList", QStringLiteral("%1"), 1, 2);
    rx1DelayList = newList(this, "rx1DelayList", QStringLiteral("%1 s"), 1, 15);
    rx2DrList = newList(this, "rx2DrList", QStringLiteral("DR%1"), 0, 5);
    joinAcceptDelayList = newList(this, "joinAcceptDelayList", QStringLiteral("%1 s"), 1, 15);
    joinAcceptDelayList->setCurrentIndex(4);  // 5 s

    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Окно RX"), rxWindowList, 0, 1);
    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Задержка Join RX1"),
              rx1DelayList, 0, 1);
    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Скорость передачи RX2"),
              rx2DrList, 0, 1);
    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Задержка присоединения"),
              joinAcceptDelayList, 0, 1);

    for (QComboBox* list : {rxWindowList, rx1DelayList, rx2DrList, joinAcceptDelayList})
        connect(list, QOverload<int>::of(&QComboBox::activated), this, &CAbstatractSettingsField::edited);
}

RxSettings CRxSettingsField::getSettings() const
{
    RxSettings settings;
    settings.enabled = isExpanded();
    settings.rx1Delay = rx1DelayList->currentData().toInt();
    settings.rxWindow = rxWindowList->currentData().toInt();
    settings.rx2Dr = rx2DrList->currentData().toInt();
    settings.joinAcceptDelay = joinAcceptDelayList->currentData().toInt();
    return settings;
}

void CRxSettingsField::setSettings(const RxSettings& settings)
{
    rxWindowList->setCurrentIndex(rxWindowList->findData(settings.rxWindow));
    rx2DrList->setCurrentIndex(rx2DrList->findData(settings.rx2Dr));
    rx1DelayList->setCurrentIndex(rx1DelayList->findData(settings.rx1Delay));
    joinAcceptDelayList->setCurrentIndex(joinAcceptDelayList->findData(settings.joinAcceptDelay));
}
