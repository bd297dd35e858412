#include "CServerDataBox.h"

#include "WidgetLayouts.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

// The box belongs to the workspace and translates in its context.
CServerDataBox::CServerDataBox(QWidget* parent)
    : QGroupBox(QCoreApplication::translate("CIAboutDevice", "Данные устройства с сервера"), parent)
{
    const std::array<QString, RowCount> captions = {
        QCoreApplication::translate("CIAboutDevice", "Зарегистрировано устройств: "),
        QCoreApplication::translate("CIAboutDevice", "DevEui: "),
        QCoreApplication::translate("CIAboutDevice", "AppEui: "),
        QCoreApplication::translate("CIAboutDevice", "AppKey:"),
        QCoreApplication::translate("CIAboutDevice", "DevAddr: "),
        QCoreApplication::translate("CIAboutDevice", "AppsKye:"),
        QCoreApplication::translate("CIAboutDevice", "NwksKey:"),
        QCoreApplication::translate("CIAboutDevice", "Имя устройства: "),
        QCoreApplication::translate("CIAboutDevice", "Класс устройства: "),
        QCoreApplication::translate("CIAboutDevice", "Время отклика(мс): "),
        QCoreApplication::translate("CIAboutDevice", "Частотный план: "),
        QCoreApplication::translate("CIAboutDevice", "Частота 4:"),
        QCoreApplication::translate("CIAboutDevice", "Частота 5:"),
        QCoreApplication::translate("CIAboutDevice", "Частота 6:"),
        QCoreApplication::translate("CIAboutDevice", "Частота 7:"),
        QCoreApplication::translate("CIAboutDevice", "Частота 8:"),
        QCoreApplication::translate("CIAboutDevice", "Enable server ADR:"),
        QCoreApplication::translate("CIAboutDevice", "Rx2 частота: "),
        QCoreApplication::translate("CIAboutDevice", "Скорость передачи: "),
        QCoreApplication::translate("CIAboutDevice", "Мощность передачи: "),
        QCoreApplication::translate("CIAboutDevice", "Окно RX: "),
        QCoreApplication::translate("CIAboutDevice", "Задержка RX1: "),
        QCoreApplication::translate("CIAboutDevice", "Скорость передачи RX2: "),
        QCoreApplication::translate("CIAboutDevice", "Задержка присоединения:"),
        QCoreApplication::translate("CIAboutDevice", "Широта: "),
        QCoreApplication::translate("CIAboutDevice", "Долгота: "),
        QCoreApplication::translate("CIAboutDevice", "Высота над уровнем моря: "),
    };

    // One row per value, each laid out on its own: a long caption in one
    // row does not take room from a long key in another.
    auto* boxLayout = new QVBoxLayout(this);
    boxLayout->setContentsMargins(1, 1, 1, 1);
    m_rowsPanel = new QWidget(this);
    boxLayout->addWidget(m_rowsPanel);
    // Rows stay at the top when only a few are shown (a lone notice included).
    boxLayout->addStretch(1);
    auto* rows = new QVBoxLayout(m_rowsPanel);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    for (int row = 0; row < RowCount; ++row) {
        m_captions[row] = new QLabel(captions[row], m_rowsPanel);
        m_values[row] = new QLabel(m_rowsPanel);
        // The values come from the server: a name such as <img src=...> must
        // show as typed, not load a file or dress itself up as a verdict.
        m_values[row]->setTextFormat(Qt::PlainText);
        m_values[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QHBoxLayout* line = WIDGET::prepareInnerHLayout(rows);
        line->addWidget(m_captions[row]);
        line->addWidget(m_values[row], 1);
    }
    m_values[Status]->setObjectName(QStringLiteral("serverStatusLabel"));
    m_values[DevEui]->setObjectName(QStringLiteral("serverDevEuiLabel"));
}

QString CServerDataBox::hexAddress(qint32 devAddress)
{
    return QString::number(static_cast<quint32>(devAddress), 16).toUpper()
        .rightJustified(8, QLatin1Char('0'));
}

QString CServerDataBox::textStyle(bool red)
{
    return red ? QStringLiteral("color: rgb(255,0,0)") : QStringLiteral("color: rgb(0,0,0)");
}

void CServerDataBox::setTextColour(QWidget* widget, bool red)
{
    const QString style = textStyle(red);
    if (widget->styleSheet() != style)
        widget->setStyleSheet(style);
}

void CServerDataBox::setWordWrap(QLabel* label, bool on)
{
    if (label->wordWrap() != on)
        label->setWordWrap(on);
}

void CServerDataBox::changeRows(const std::function<void()>& change)
{
    // Showing a widget lays out each of its visible parents up to the window
    // there and then: rows shown one by one would lay the window out once a
    // row. With their panel hidden meanwhile it happens once.
    m_rowsPanel->hide();
    change();
    m_rowsPanel->show();
}

void CServerDataBox::clearRows()
{
    changeRows([this] {
        setWordWrap(m_values[DevEui], false);
        for (int row = 0; row < RowCount; ++row) {
            m_captions[row]->hide();
            m_values[row]->clear();
            m_values[row]->hide();
        }
    });
}

void CServerDataBox::showDevice(const CLoraDeviceInfo& info)
{
    const auto number = [](qint64 value) { return QString::number(value); };
    const auto degrees = [](double value) { return QString::number(value, 'g', 6); };

    const std::array<QString, RowCount> texts = {
        m_values[Status]->text(), info.devEui, info.appEui, info.appKey,
        hexAddress(info.devAddress), info.appsKey, info.nwksKey, info.devName, info.devClass,
        number(info.reactionTime), info.freqPlan, number(info.freq4), number(info.freq5),
        number(info.freq6), number(info.freq7), number(info.freq8),
        info.serverAdrEnable ? QStringLiteral("true") : QStringLiteral("false"),
        number(info.freqRx2), number(info.preferDr), number(info.preferPower),
        number(info.rxWindow), number(info.delayRx1), number(info.drRx2), number(info.delayJoin1),
        degrees(info.latitude), degrees(info.longitude), number(info.altitude),
    };
    changeRows([&] {
        for (int row = 0; row < RowCount; ++row) {
            m_values[row]->setText(texts[row]);
            if (texts[row].isEmpty())
                continue;
            m_captions[row]->show();
            m_values[row]->show();
        }
    });
    show();
}

void CServerDataBox::showStatus(const QString& text, bool error)
{
    setTextColour(m_values[Status], error);
    m_values[Status]->setText(text);
    m_values[Status]->show();
}

void CServerDataBox::resetStatus()
{
    setTextColour(m_values[Status], false);
    m_values[Status]->clear();
}

void CServerDataBox::showNotice(const QString& text)
{
    setWordWrap(m_values[DevEui], true);
    setTextColour(m_values[DevEui], true);
    m_values[DevEui]->setText(text);
    m_values[DevEui]->show();
}

void CServerDataBox::resetDevEuiValue()
{
    setTextColour(m_values[DevEui], false);
    m_values[DevEui]->clear();
}

void CServerDataBox::setDevEuiValueBlack()
{
    setTextColour(m_values[DevEui], false);
}

QString CServerDataBox::valueText(Row row) const
{
    return m_values[row]->text();
}

QString CServerDataBox::captionText(Row row) const
{
    return m_captions[row]->text();
}

bool CServerDataBox::isRowShown(Row row) const
{
    return !m_values[row]->isHidden();
}

bool CServerDataBox::isRed(Row row) const
{
    return m_values[row]->styleSheet() == textStyle(true);
}
