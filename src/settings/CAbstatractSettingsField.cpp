#include "CAbstatractSettingsField.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CAbstatractSettingsField::CAbstatractSettingsField(QWidget* parent)
    : QWidget(parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(1, 1, 1, 1);
    outer->setSpacing(2);

    // Object names let tests and the workspace find the two forms.
    expandCheck = new QCheckBox(this);
    expandCheck->setObjectName(QStringLiteral("expandCheck"));
    outer->addWidget(expandCheck);

    groupBox = new QGroupBox(this);
    groupBox->setObjectName(QStringLiteral("groupBox"));
    groupBox->setCheckable(true);
    outer->addWidget(groupBox);

    groupLayout = new QVBoxLayout(groupBox);
    groupLayout->setContentsMargins(1, 1, 1, 1);
    groupLayout->setSpacing(2);

    groupBox->setChecked(false);
    groupBox->hide();

    connect(groupBox, &QGroupBox::toggled, this, [this](bool on) {
        if (on)
            return;
        groupBox->hide();
        expandCheck->show();
        expandCheck->setChecked(false);
    });
    connect(expandCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            return;
        groupBox->show();
        groupBox->setChecked(true);
        expandCheck->hide();
    });
}

bool CAbstatractSettingsField::isExpanded() const
{
    return groupBox->isChecked();
}

void CAbstatractSettingsField::expand()
{
    expandCheck->setChecked(true);
}

void CAbstatractSettingsField::expandAll()
{
    expand();
    for (const QPointer<CAbstatractSettingsField>& child : qAsConst(childGroups)) {
        if (child)
            child->expandAll();
    }
}

void CAbstatractSettingsField::setGrName(QString name)
{
    expandCheck->setText(name);
    groupBox->setTitle(name);
}

void CAbstatractSettingsField::appendWidget(QWidget* widget)
{
    groupLayout->addWidget(widget, 0);
    if (auto* group = qobject_cast<CAbstatractSettingsField*>(widget))
        childGroups.append(group);
}

void CAbstatractSettingsField::appendLayout(QLayout* layout)
{
    groupLayout->addLayout(layout, 0);
}

QHBoxLayout* CAbstatractSettingsField::appendRow(const QString& label, QWidget* control,
                                                 int labelStretch, int controlStretch)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(2);
    appendLayout(row);
    row->addWidget(new QLabel(label, groupBox), labelStretch);
    row->addWidget(control, controlStretch);
    return row;
}
