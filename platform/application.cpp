#include "platform/application.h"

namespace zentro {

namespace {

Application* gCurrent = nullptr;

}  // namespace

Application::Application() { gCurrent = this; }

Application::~Application() {
    if (gCurrent == this) gCurrent = nullptr;
}

Application* Application::Current() { return gCurrent; }

void Application::WinHelp(unsigned long, unsigned) {}

}  // namespace zentro
