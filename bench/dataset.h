#pragma once

#include <QString>

// The benchmark data set: 100,000 calls (about 93,000 "Closed"), 20,000 customers, 200,000 notes, 10 staff
// and 50,000 inventory items, with realistic statuses, categories and texts ("printer" in some queries).
// Made once into the build folder; a changed generator makes a new file.
QString benchDataset();

namespace bench {
inline constexpr int Calls = 100000;
inline constexpr int Customers = 20000;
inline constexpr int Notes = 200000;
inline constexpr int Staff = 10;
inline constexpr int InventoryItems = 50000;
// The call that holds 2,000 of the notes.
inline constexpr int BusyCall = 99000;
inline constexpr int BusyCallNotes = 2000;
// Staff login names; the first is the default "Admin" (no password, Administrator).
QString staffName(int i);
} // namespace bench
