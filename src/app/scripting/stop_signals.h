#pragma once
// The signals that end a headless run early (SIGTERM, SIGINT, SIGHUP): once
// installed, the handler only notes which one came; the run looks at it
// between its steps, stops doing actions, writes its outputs and ends with
// 128 + the signal's number.
namespace app::scripting {

void installStopSignals();
// The signal that asked the run to stop, or 0.
int stopSignal();
// "SIGTERM", "SIGINT" or "SIGHUP".
const char* stopSignalName(int signal);

}  // namespace app::scripting
