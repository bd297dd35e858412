#include "CImportCheckDialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString redText = QStringLiteral("color: rgb(255,0,0)");

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}
} // namespace

CImportCheckDialog::CImportCheckDialog(const QString& sheetPath, const KeySheet& sheet, const SheetCheck& check,
                                       bool connected, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Импорт из файла"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);

    layout->addWidget(new QLabel(tr("Файл: %1").arg(QFileInfo(sheetPath).fileName()), this));

    auto* summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summaryLabel"));
    summary->setWordWrap(true);
    layout->addWidget(summary);

    auto* buttons = new QDialogButtonBox(this);
    auto* cancel = buttons->addButton(tr("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    if (!sheet.error.isEmpty()) {
        summary->setText(sheet.error);
        summary->setStyleSheet(redText);
        cancel->setText(tr("Закрыть"));
        layout->addWidget(buttons);
        return;
    }

    const int total = check.good.size() + check.rejected.size();
    summary->setText(tr("Годных строк: %1 из %2. Отклонено: %3.")
                         .arg(check.good.size()).arg(total).arg(check.rejected.size()));

    if (!check.rejected.isEmpty()) {
        layout->addWidget(new QLabel(tr("Эти строки не будут отправлены:"), this));
        auto* table = new QTableWidget(check.rejected.size(), 3, this);
        table->setObjectName(QStringLiteral("rejectedTable"));
        table->setHorizontalHeaderLabels({tr("Строка"), QStringLiteral("DevEUI"), tr("Причина")});
        table->verticalHeader()->hide();
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setWordWrap(false);
        for (int row = 0; row < check.rejected.size(); ++row) {
            const RejectedRow& rejected = check.rejected.at(row);
            table->setItem(row, 0, cell(QString::number(rejected.line)));
            table->setItem(row, 1, cell(rejected.devEui));
            table->setItem(row, 2, cell(rejected.reason));
        }
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
        table->resizeColumnsToContents();   // measured on the first rows only
        table->horizontalHeader()->setStretchLastSection(true);
        table->setMinimumSize(qBound(640, table->horizontalHeader()->length() + 30, 1000), 260);
        layout->addWidget(table);
    }

    if (!connected) {
        auto* offline = new QLabel(tr("Нет подключения к серверу: строки можно только проверить"), this);
        offline->setObjectName(QStringLiteral("offlineLabel"));
        offline->setStyleSheet(redText);
        layout->addWidget(offline);
    }

    m_sendButton = buttons->addButton(tr("Отправить годные (%1)").arg(check.good.size()),
                                      QDialogButtonBox::AcceptRole);
    m_sendButton->setObjectName(QStringLiteral("sendButton"));
    m_sendButton->setEnabled(connected && !check.good.isEmpty());
    m_sendButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
