// Counting and timing of the Win32 calls this executable makes, by rewriting entries of its own
// import address table. The product code is linked into this executable, so its GDI and user32
// calls pass through the same table: the hooks see every call the capture cycle makes without a
// change to the product.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

struct ApiStat {
  const char* name = "";
  bool gdi = false;          // failures of this call count as failed GDI calls
  long long calls = 0;
  long long failures = 0;
  long long ticksTop = 0;     // QPC ticks spent in calls not made from inside another hooked call
  long long ticksNested = 0;  // QPC ticks spent in calls made from inside another hooked call
  long long callsNested = 0;
};

// Geometry of the last screen-to-memory BitBlt and memory-to-memory StretchBlt.
struct BlitRecord {
  bool haveBitBlt = false, haveStretch = false;
  int srcX = 0, srcY = 0, width = 0, height = 0;
  DWORD rop = 0;
  int dstX = 0, dstY = 0, dstW = 0, dstH = 0, stretchSrcW = 0, stretchSrcH = 0;
};

// Rewrites the table, the first time it is called. Returns how many of the wanted entries were
// found and replaced (`missing` names the others, the first time).
int InstallHooks(std::vector<std::string>* missing);

void ResetStats();
void SetTiming(bool on);      // QPC around every hooked call (profiling; off by default)
void SetCounting(bool on);    // call and failure counts (cheap)
std::vector<ApiStat> Stats();
long long FailedGdiCalls();
long long GdiObjectsCreated();  // successful Create* calls
long long GdiObjectsDeleted();  // successful DeleteObject/DeleteDC calls
BlitRecord LastBlits();

}  // namespace bench
