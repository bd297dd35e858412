#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace DevServer {

// Checks one device entry of a "manage_devices_req" and turns it into the
// shape the server stores. Every check returns an empty text when the part is
// sound, otherwise the status word that names the first fault.
namespace DeviceRules {

bool isHexText(const QString& text, int digits);

// "OTAA": an object with "appEui" (16 hex digits) and "appKey" (32 hex digits).
QString checkOtaa(const QJsonValue& section, QJsonObject* normalised);

// "ABP": an object with 32-hex-digit "appsKey" and "nwksKey" and a non-zero
// 32-bit "devAddress".
QString checkAbp(const QJsonValue& section, QJsonObject* normalised);

// Every settings member the entry carries (keys and unknown members aside).
// An empty "devName" counts as not given.
QString checkSettings(const QJsonObject& entry, QJsonObject* normalised);

// The settings merged into a stored device: nested objects member by member.
QJsonObject merged(const QJsonObject& stored, const QJsonObject& settings);

// True when a member that a joined device only takes over MAC commands differs.
bool macManagedChanged(const QJsonObject& before, const QJsonObject& after);

// Permitted ranges, shared with the documentation and the tests.
constexpr qint64 minFrequencyHz = 863000000;
constexpr qint64 maxFrequencyHz = 870000000;
constexpr int maxDataRate = 7;
constexpr int minPowerDbm = 2;
constexpr int maxPowerDbm = 14;
constexpr int minDelaySeconds = 1;
constexpr int maxDelaySeconds = 15;
constexpr int maxReactionTimeMs = 3600000;
constexpr int maxNameLength = 128;

} // namespace DeviceRules
} // namespace DevServer
