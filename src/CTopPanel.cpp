#include "CTopPanel.h"

#include "CSettings.h"
#include "DataSender.h"
#include "Diagnostics.h"
#include "ScannedDevices.h"
#include "WidgetLayouts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString languageEnglish = QStringLiteral("en");
const QString languageRussian = QStringLiteral("ru");

// Each notice is written in the language the interface still shows.
const QString restartNoticeEnglish =
    QStringLiteral("Attention, the program will restart to display the translation correctly");
const QString restartNoticeRussian =
    QStringLiteral("Внимание, программа перезапустится, для корректного отображения перевода");
} // namespace

CTopPanel::CTopPanel(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(50);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(3, 3, 3, 3);
    m_layout->setSpacing(2);
    QHBoxLayout* row = WIDGET::prepareInnerHLayout(m_layout);

    m_totalCaption = new QLabel(tr("Зарегистрировано всего:"), this);
    m_totalValue = new QLabel(QStringLiteral("[all count]"), this);
    m_totalValue->setObjectName(QStringLiteral("totalValue"));
    m_addedCaption = new QLabel(tr("              Добавлено устройств:"), this);
    m_addedValue = new QLabel(QStringLiteral("0"), this);
    m_addedValue->setObjectName(QStringLiteral("addedValue"));
    m_deleteButton = new QPushButton(tr("Удалить добавленные устройства"), this);
    m_deleteButton->setObjectName(QStringLiteral("deleteButton"));
    m_languageCaption = new QLabel(tr("Язык: "), this);

    m_languageBox = new QComboBox(this);
    m_languageBox->setObjectName(QStringLiteral("languageBox"));
    m_languageBox->addItem(QStringLiteral("English"), languageEnglish);
    m_languageBox->addItem(QStringLiteral("Русский"), languageRussian);

    const QString stored = CSettings::readValue(CSettings::language, QVariant()).toString();
    if (stored.isEmpty())
        m_languageBox->setCurrentIndex(1);
    else
        m_languageBox->setCurrentIndex(m_languageBox->findData(stored, Qt::UserRole, Qt::MatchFixedString));
    // Connected only now, so the initial selection does not count as a switch.
    connect(m_languageBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &CTopPanel::changeLanguage);

    for (QLabel* label : {m_totalCaption, m_totalValue, m_addedValue})
        label->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    row->addWidget(m_totalCaption);
    row->addWidget(m_totalValue);
    row->addWidget(m_addedCaption);
    row->addWidget(m_addedValue);
    row->addWidget(m_deleteButton);
    row->addStretch();
    row->addWidget(m_languageCaption);
    row->addWidget(m_languageBox);

    connect(ScannedDevices::instance(), &ScannedDevices::devicesChanged, this, &CTopPanel::setCurrentDevicesCount);
    connect(m_deleteButton, &QPushButton::clicked, this, &CTopPanel::deleteAddedDevices, Qt::DirectConnection);
}

void CTopPanel::countDevicesOnServer(CloraInfoResp countdeviceinfo)
{
    // Two counts near the top of their range still add up.
    m_totalValue->setText(QString::number(qint64(countdeviceinfo.deviceCountOther) + countdeviceinfo.deviceCountZarvo));
}

void CTopPanel::setCurrentDevicesCount(int count)
{
    m_addedValue->setText(QString::number(count));
}

void CTopPanel::changeLanguage(int index)
{
    const QString language = m_languageBox->itemData(index).toString();
    DIAG() << language;
    CSettings::writeValue(CSettings::language, language);

    QMessageBox notice(QMessageBox::Information, QString(),
                       language == languageRussian ? restartNoticeEnglish : restartNoticeRussian,
                       QMessageBox::Ok);
    notice.exec();
    if (notice.clickedButton())
        emit closeProgramm();
}

void CTopPanel::deleteAddedDevices()
{
    const QStringList euis = ScannedDevices::instance()->deviceEuis();
    DIAG() << euis;
    // A request that never left the program deleted nothing: keep the record
    // so the operator can try again once the server is back.
    if (DataSender::deleteDevices(euis))
        ScannedDevices::instance()->clearDevices();
}
