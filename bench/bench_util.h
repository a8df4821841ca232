// Timing, statistics and process-resource probes shared by the benchmarks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace bench {

// QueryPerformanceCounter in microseconds since an arbitrary start.
double NowUs();

struct Summary {
  double median = 0, p95 = 0, mean = 0, min = 0;
  size_t count = 0;
};
Summary Summarise(std::vector<double> samples);

// Private bytes of this process as the system reports them (PROCESS_MEMORY_COUNTERS_EX,
// K32GetProcessMemoryInfo from kernel32 or GetProcessMemoryInfo from psapi); 0 when unavailable.
uint64_t ReportedPrivateBytes();
// Committed private memory counted by walking the address space with VirtualQuery: does not rely
// on the system's counters.
uint64_t CommittedPrivateBytes();
// GetGuiResources(GR_GDIOBJECTS) for this process (0 under Wine).
DWORD GuiGdiObjects();

// Live GDI objects of this process counted by asking GetObjectType about every handle-table
// index. The count is trusted only when CheckGdiIndexProbe saw it follow objects created and
// deleted on purpose.
int CountGdiByIndex();
bool CheckGdiIndexProbe();

// Runs the message loop of this thread for `ms` milliseconds (or until the queue is empty, when
// ms is 0). Messages for the magnifier pass its key preview first.
void Pump(DWORD ms);

}  // namespace bench
