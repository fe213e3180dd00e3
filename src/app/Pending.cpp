// Operations whose subsystems are still being built. Each is removed from
// this file as its real implementation lands.

#include "app/StartUpForm.h"
#include "platform/RuntimeFailure.h"

namespace vantorel {

namespace {
[[noreturn]] void NotBuilt(const char* what) {
    throw RuntimeFailure(std::string(what) + " is not built yet");
}
}  // namespace

void StartUpForm::Timer1_Timer() {
    NotBuilt("Timer1_Timer");
}
bool StartUpForm::PopStat(const std::string&) {
    NotBuilt("PopStat");
}
bool StartUpForm::StartPop() {
    NotBuilt("StartPop");
}
void StartUpForm::PickTarget() {
    NotBuilt("PickTarget");
}
std::string StartUpForm::GetTitle(platform::WindowHandle) {
    NotBuilt("GetTitle");
}
void StartUpForm::SetTitle(std::string_view) {
    NotBuilt("SetTitle");
}
void StartUpForm::Timer2_Timer() {
    NotBuilt("Timer2_Timer");
}
void StartUpForm::FlashTarget() {
    NotBuilt("FlashTarget");
}
void StartUpForm::CloseSound() {
    NotBuilt("CloseSound");
}

}  // namespace vantorel
