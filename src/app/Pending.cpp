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

void StartUpForm::mnuConfig_Click() {
    NotBuilt("mnuConfig_Click");
}
void StartUpForm::mnuTempStop_Click() {
    NotBuilt("mnuTempStop_Click");
}
void StartUpForm::mnuVersion_Click() {
    NotBuilt("mnuVersion_Click");
}
void StartUpForm::mnuNowChk_Click() {
    NotBuilt("mnuNowChk_Click");
}
void StartUpForm::mnuEnd_Click() {
    NotBuilt("mnuEnd_Click");
}
void StartUpForm::mnuO_Music_Click() {
    NotBuilt("mnuO_Music_Click");
}
void StartUpForm::mnuCHKOnceOnly_Click() {
    NotBuilt("mnuCHKOnceOnly_Click");
}
void StartUpForm::mnuTitleConf_Click() {
    NotBuilt("mnuTitleConf_Click");
}
void StartUpForm::mnuTitleBack_Click() {
    NotBuilt("mnuTitleBack_Click");
}
void StartUpForm::mnuZeroCheck_Click() {
    NotBuilt("mnuZeroCheck_Click");
}
void StartUpForm::mnuMouse_Click() {
    NotBuilt("mnuMouse_Click");
}
void StartUpForm::mnuCheckServer_Click() {
    NotBuilt("mnuCheckServer_Click");
}
void StartUpForm::mnuErrPop_Click() {
    NotBuilt("mnuErrPop_Click");
}
void StartUpForm::Form_QueryUnload(platform::CloseReason) {
    NotBuilt("Form_QueryUnload");
}
void StartUpForm::Form_Unload() {
    NotBuilt("Form_Unload");
}
void StartUpForm::Command1_Click() {
    NotBuilt("Command1_Click");
}
void StartUpForm::Command2_Click() {
    NotBuilt("Command2_Click");
}

}  // namespace vantorel
