#pragma once

#include "ProtocolKeys.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace PK = ProtocolKeys;

namespace TestHelpers {

inline QString compact(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

inline QJsonObject parsed(const QString& text) { return QJsonDocument::fromJson(text.toUtf8()).object(); }

template <typename T>
T* child(const QObject* parent, const char* name) { return parent->findChild<T*>(QLatin1String(name)); }

// The record types signal spies take apart.
void registerRecordTypes();

// The DevEUI of every block of "Devices.txt", in order; "<cut short>" after
// a last block that lacks its separator line.
QStringList devicesFileBlocks();

// The program's start-up, on a fresh "settings.cfg": the single objects
// belong to the application, and the parser hears the client.
void startProgramObjects();

} // namespace TestHelpers
