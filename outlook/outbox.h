#pragma once
// Where the mail stand-in puts what it is asked: the outbox folder (the registry
// value HKEY_CURRENT_USER\Software\OutlookStandIn\Outbox when it names one, else the
// folder "outbox" beside this DLL; made when missing) holds one .eml file per
// displayed message and the call log "outlook-calls.log", one UTF-8 line per call,
// so an outside test can read what a screen asked of the mail program.
#include <string>

namespace vk::outlook {

std::wstring OutboxFolder();

// Appends one line to the call log; a log that cannot be written is skipped.
void LogCall(const std::wstring& line);

// Writes bytes into a new file of the outbox named after the time
// ("mail-yyyymmdd-hhmmss-nnn.eml"); returns its full path, raises when it cannot.
std::wstring WriteToOutbox(const std::string& bytes);

}  // namespace vk::outlook
