// The letter rasteriser the plug-in calls through one entry point, given a
// 1000-byte request record. This system carries its own implementation (GDI
// on Windows, FreeType natively); the record layout of requests stays the
// entry point's contract.
//
// Maintenance: command word 1 when a run starts, 2 when it ends. Nothing the
// plug-in does depends on their result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gw {

constexpr size_t kMaintenanceRecordSize = 1000;
constexpr size_t kMaintenanceCommandOffset = 24;
constexpr uint32_t kRasteriserRunStarts = 1;
constexpr uint32_t kRasteriserRunEnds = 2;

// The entry point: takes a request record; returns 1 when it was understood.
int rasteriserProc(uint8_t* record, size_t size);

// Sends a maintenance record with this command word.
void rasteriserMaintenance(uint32_t command);

// The maintenance commands received so far in this process, in order. When
// $GLYPHWRIGHT_RASTERISER_LOG names a file, each is also appended to it as a
// line "maintenance N", so a test host outside the process can check them.
std::vector<uint32_t> rasteriserMaintenanceLog();

}  // namespace gw
