#pragma once

#include "net/Message.h"
#include "tools/portal-stub/StubSender.h"

#include <string>

namespace portalstub {

// Tells that a table's result (a hand's, a deal's, a game's) has gone out whole. Called
// by the thread that sent the result's last message, right after it: the line names
// that message's number on the connection, so a reader knows how many messages the
// client has to have read to hold the whole result. The line goes to the log and, when
// KAVO_STUB_TELL_RESULTS is set, to the standard output too, where a test that started
// the stub waits for it (a test that photographs a result learns so whether any of the
// result reached the client after its picture).
void tellResultSent(const StubSender& sender, const std::string& table);

// Called by a table right before it sends its result's last message: with
// KAVO_STUB_RESULT_PAUSE set (milliseconds) it waits that long first, so that a reader
// who looks at the result once an earlier message of it shows (a control the result
// brings), not once its last message shows, looks every time before the result is whole.
void pauseBeforeResultsLastMessage();

// The three in turn for a result whose last message is `message`: the pause, the message
// sent to the connection's client, the line that tells the result went out whole.
void sendResultsLastMessage(StubSender& sender, const kavo::Message& message, const std::string& table);

} // namespace portalstub
