#include "CDeviceKeysBox.h"

#include "CServerDataBox.h"
#include "WidgetLayouts.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

// The box belongs to the workspace and translates in its context.
CDeviceKeysBox::CDeviceKeysBox(QWidget* parent)
    : QGroupBox(QCoreApplication::translate("CIAboutDevice", "Основные данные"), parent)
{
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(1, 1, 1, 1);
    rows->setSpacing(2);

    // Captions are the keys' own names and stay untranslated.
    const std::array<QString, KeyCount> captions = {
        QStringLiteral("DevEui:"), QStringLiteral("AppEui:"), QStringLiteral("AppKey:"),
        QStringLiteral("DevAddr:"), QStringLiteral("AppSKey:"), QStringLiteral("NwkSKEY:"),
    };
    const std::array<QString, KeyCount> names = {
        QStringLiteral("devEuiEdit"), QStringLiteral("appEuiEdit"), QStringLiteral("appKeyEdit"),
        QStringLiteral("devAddrEdit"), QStringLiteral("appsKeyEdit"), QStringLiteral("nwksKeyEdit"),
    };
    for (int key = 0; key < KeyCount; ++key) {
        QHBoxLayout* row = WIDGET::prepareInnerHLayout(rows);
        m_captions[key] = new QLabel(captions[key], this);
        m_edits[key] = new QLineEdit(this);
        m_edits[key]->setObjectName(names[key]);
        row->addWidget(m_captions[key]);
        row->addWidget(m_edits[key]);
    }
}

void CDeviceKeysBox::showKeys(const CLoraDeviceInfo& info)
{
    setCaptionsBlack();
    m_edits[DevEui]->setText(info.devEui);
    m_edits[DevAddr]->setText(info.devAddress == 0 ? QStringLiteral("empty devaddr")
                                                   : CServerDataBox::hexAddress(info.devAddress));
    m_edits[AppEui]->setText(info.appEui);
    m_edits[AppKey]->setText(info.appKey);
    m_edits[AppsKey]->setText(info.appsKey);
    m_edits[NwksKey]->setText(info.nwksKey);
}

void CDeviceKeysBox::showInvalid(const QString& text)
{
    setCaptionsBlack();
    for (QLineEdit* edit : m_edits)
        edit->setText(text);
}

void CDeviceKeysBox::resetEdits()
{
    for (QLineEdit* edit : m_edits) {
        edit->setReadOnly(true);
        edit->setEchoMode(QLineEdit::Normal);
    }
}

QString CDeviceKeysBox::shownDevEui() const
{
    return m_edits[DevEui]->text();
}

void CDeviceKeysBox::setCaptionsBlack()
{
    for (QLabel* caption : m_captions)
        CServerDataBox::setTextColour(caption, false);
}
