#pragma once
// The sound player through the MCI string interface: one device opened
// under an alias of its own, played without waiting, closed on request.

#include <string>

#include "platform/MediaPlayer.h"

namespace vantorel::win32 {

class MciPlayer : public platform::MediaPlayer {
  public:
    MciPlayer();
    // Closes a device that is still open, which also stops its sound.
    ~MciPlayer() override;
    MciPlayer(const MciPlayer&) = delete;
    MciPlayer& operator=(const MciPlayer&) = delete;

    void setDeviceType(std::string_view type) override { deviceType_ = type; }
    void setFileName(std::string_view path) override { fileName_ = path; }
    // "Open", "Play" or "Close", in any letter case.
    void setCommand(std::string_view command) override;
    int deviceId() override;

  private:
    void open();
    void send(const std::wstring& command);

    std::wstring alias_;
    std::string deviceType_;
    std::string fileName_;
};

}  // namespace vantorel::win32
