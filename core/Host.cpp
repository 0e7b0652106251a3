#include "core/Host.h"

int IHost::MessageBox(const std::string&, unsigned, const std::string&) { return 1; }
void IHost::TraceLine(const std::string&) {}
void IHost::ShowTraceWindow() {}
void IHost::UpdateSwiBindings(int) {}
void IHost::SleepMs(long) {}
void IHost::DoEvents() {}
std::string IHost::AppPath() { return "."; }
void IHost::EndProgram(int) {}

namespace {
IHost g_defaultHost;
IHost* g_host = &g_defaultHost;
}

IHost& Host() { return *g_host; }
void SetHost(IHost* host) { g_host = host ? host : &g_defaultHost; }
