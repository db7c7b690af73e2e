#pragma once

#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeLibraries.h"
#include "fakes/FakeLog.h"
#include "fakes/FakeMainThread.h"
#include "fakes/FakeNotifications.h"
#include "fakes/FakeTimer.h"
#include "fakes/FakeWindowSystem.h"
#include "model/Model.h"
#include "platform/posix/Sockets_posix.h"
#include "receivers/Receivers.h"

namespace quorvel {

// Receivers over recording fakes, with real sockets for the network receiver.
struct ReceiversRig {
    Model model;
    Settings& settings = model.settings;
    FakeDialogs dialogs;
    FakeLibraries libraries;
    FakeWindowSystem windows;
    FakeTrayIcon tray;
    FakeTimer mainT;
    FakeLog log;
    PosixSockets sockets;
    FakeMainThread mainThread;
    FakeClock clock;
    Receivers receivers{
        ReceiversContext{model, dialogs, libraries, windows, tray, mainT, log, sockets, mainThread, clock}};
};

}  // namespace quorvel
