#include "app/StartUpForm.h"
#include "app/StartUpFormLayout.h"
#include "app/Version.h"
#include "tray/TaskTray.h"

namespace vantorel {

void StartUpForm::StartTask() {
    TaskTray& tray = *clsTaskTray;
    tray.FormName(form_.get());
    tray.MenuName(ctl::mnuTop);
    tray.ToolTip(kProductName);
    tray.Visible(true);
}

void StartUpForm::EndTask() {
    clsTaskTray->Visible(false);
}

}  // namespace vantorel
