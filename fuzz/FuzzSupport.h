#pragma once

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: one offscreen application for the whole run,
// a scratch directory for the program's files ("settings.cfg", devices file), and
// quiet diagnostics so that libFuzzer's own output stays readable.
namespace FuzzSupport {

// Creates the application and the settings store on the first call; later
// calls do nothing.
// TESMAR_FUZZ_VERBOSE=1 lets the diagnostic lines through.
void startApplication();

QByteArray bytes(const std::uint8_t* data, std::size_t size);

// The input as server messages: one text message per line. Compact JSON has
// no line breaks, so one input can carry a whole exchange.
QStringList messages(const QByteArray& input);

// Runs what the handlers left for the event loop: posted events and deferred
// deletes, so nothing piles up from one input to the next.
void settle();

} // namespace FuzzSupport
