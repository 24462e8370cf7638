#pragma once
// The firings that are due, run one after another in the order the engine hands them over, on
// one worker thread: two actions due together never race for the phone, and it ends in the
// state of the last. The engine's own thread only queues them, so refreshes, clock changes and
// the stop signal are taken while a firing runs.
#include <memory>
#include <string>
#include <vector>

#include "engine/Journal.h"
#include "engine/FiringSchedule.h"

class FiringSeries {
  public:
    explicit FiringSeries(Journal& journal);
    // Nothing more is journaled after this; a firing under way is left to the end of the
    // process.
    ~FiringSeries();
    FiringSeries(const FiringSeries&) = delete;
    FiringSeries& operator=(const FiringSeries&) = delete;

    // Starts the worker, which calls the callback library at libraryPath; false when the
    // thread cannot start.
    bool Start(const std::wstring& libraryPath);
    // Queues the firings behind those that wait already.
    void Add(const std::vector<Firing>& firings);
    // Firings queued and not begun.
    size_t Waiting() const;

    struct Shared; // what the worker and the series both hold

  private:
    std::shared_ptr<Shared> shared;
};
