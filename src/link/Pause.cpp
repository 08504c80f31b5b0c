#include "link/Pause.h"

#include <chrono>
#include <thread>

void TRealPause::pauseMs(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
