#pragma once

// Codes of the link events the window hears of, each with one argument.
namespace LinkEvent {
inline constexpr int ParameterReceived = 0;  // argument: index 1 to 1745 (0 after a full read)
inline constexpr int ReadComplete = 1;
inline constexpr int ReadCompleteAfter = 2;
inline constexpr int ReadSucceeded = 3;
inline constexpr int ConnectionState = 4;  // argument: one of the Connection values
inline constexpr int ProgressHidden = 8;
inline constexpr int ClientList = 10;
inline constexpr int RelayStatus = 11;
// A mode recall or a sent preset file replaced the device's values;
// argument: the job (LinkJob) that did it.
inline constexpr int ValuesReplaced = 13;
// Edits unsent at a lost link were dropped, since the device found is
// another one or came back too late; argument: how many values.
inline constexpr int PendingDropped = 14;

namespace Connection {
inline constexpr int Connected = 0;
inline constexpr int Searching = 1;  // also: connection lost
inline constexpr int Started = 3;
}  // namespace Connection
}  // namespace LinkEvent
