#pragma once

class CMessageParser;
class CServerClient;
class QObject;
class QTranslator;

// How the program comes up before its window opens: the application's name,
// the settings store, the added-devices record, the translation of the stored
// language, the server client and the message parser it feeds, and the
// default file names. The program, its tests and its benchmarks all start
// through here, so that none of them can drift from the others.
namespace ProgramStartup {

// The single objects belong to owner: the application object in the program;
// a test may hand an object of its own and destroy it to start afresh. The
// translator is installed in the application and must outlive its event loop.
void start(QObject* owner, QTranslator& translator);

// The only road by which server messages reach the protocol layer. Queued,
// so each message is parsed after the socket's own handling has returned;
// making it again changes nothing.
void connectServerToParser(CServerClient* client, CMessageParser* parser);

} // namespace ProgramStartup
