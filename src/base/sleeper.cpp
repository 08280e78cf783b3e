#include "base/sleeper.h"

#include <thread>

namespace quobel {

void RealSleeper::Sleep(std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); }

}  // namespace quobel
