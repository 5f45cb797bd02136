#pragma once

#include <QtGlobal>
#include <functional>

// How far a long write has come, told every so many rows; the window side shows it. Answering false asks the
// writer to stop: it then writes nothing and leaves the older file in place.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// How many rows a writer handles between two reports of its progress.
inline constexpr int ProgressEvery = 250;

// Tells progress at every ProgressEvery-th row done; false when it asks to stop.
inline bool progressGoesOn(const Progress& progress, qint64 done, qint64 total) {
    return !progress || done % ProgressEvery != 0 || progress(done, total);
}
