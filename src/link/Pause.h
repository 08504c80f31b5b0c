#pragma once

// The protocol's pauses between frames. Injectable so that tests record them instead of sleeping.
class IPause {
public:
    virtual ~IPause() = default;
    virtual void pauseMs(int ms) = 0;
};

class TRealPause final : public IPause {
public:
    void pauseMs(int ms) override;
};
