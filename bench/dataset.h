#pragma once

#include <QString>

// The benchmark data set: 100,000 calls (about 93,000 "Closed"), 20,000 customers, 200,000 notes, 10 staff
// and 50,000 inventory items, with realistic statuses, categories and texts ("printer" in some queries).
// QV_BENCH_SCALE=10 asks for ten times as much (1,000,000 calls, 200,000 customers, 2,000,000 notes, 500,000
// items; staff stay 10), kept beside the other. Made once into the build folder; a changed generator makes a
// new file.
QString benchDataset();

namespace bench {
// QV_BENCH_SCALE: 1 (default) or 10.
int scale();
inline int calls() { return 100000 * scale(); }
inline int customers() { return 20000 * scale(); }
inline int notes() { return 200000 * scale(); }
inline constexpr int Staff = 10;
inline int inventoryItems() { return 50000 * scale(); }
// The call that holds 2,000 of the notes.
inline int busyCall() { return 99000 * scale(); }
inline constexpr int BusyCallNotes = 2000;
// Staff login names; the first is the default "Admin" (no password, Administrator).
QString staffName(int i);
} // namespace bench
