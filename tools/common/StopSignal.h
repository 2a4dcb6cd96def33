#pragma once

#include <csignal>

// Makes SIGINT, SIGTERM and SIGHUP (the terminal closed) ask the tool to stop:
// the handler only raises the returned flag, and without SA_RESTART a blocking
// poll() returns at once with EINTR, so the main loop ends and cleans up
// (unregisters, finishes its recording) instead of dying mid-write.
const volatile std::sig_atomic_t& InstallStopSignals();
