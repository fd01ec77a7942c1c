#pragma once

// Dispatches every message waiting for this thread (the framework's queued
// messages included), paints among them, and returns when none is left.
void DispatchWaitingMessages();
