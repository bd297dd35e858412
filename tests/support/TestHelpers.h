#pragma once

#include "ProtocolKeys.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace PK = ProtocolKeys;

// Small pieces most suites share.
namespace TestHelpers {

inline QString compact(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

inline QJsonObject parsed(const QString& text) { return QJsonDocument::fromJson(text.toUtf8()).object(); }

template <typename T>
T* child(const QObject* parent, const char* name) { return parent->findChild<T*>(QLatin1String(name)); }

// The process-wide objects start-up makes, on a fresh "settings.cfg" with
// the defaults, and the record types registered for signal spies.
void startProgramObjects();

} // namespace TestHelpers
