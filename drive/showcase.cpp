// Takes the picture of the stand-in for the documentation: a room with lines from the
// program (sent through its own chat-room code) and from other members.
//   aolsim-showcase.exe out.bmp
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "aol/chat_room.h"
#include "aol/send_queue.h"
#include "core/announcement.h"
#include "drive/sim.h"
#include "platform/win32/window_system_win32.h"

using drive::Sim;
using namespace std::chrono;
using zantic::win32::Win32WindowSystem;

int main(int argc, char** argv) {
  const char* shot = argc > 1 ? argv[1] : "aolsim.bmp";
  Sim sim;
  if (!sim.Ready()) return 1;
  Win32WindowSystem windows;
  zantic::SendQueue aol(windows);
  const std::string reason = "lunch, back in 30";
  const std::vector<std::pair<std::string, std::string>> lines = {
      {"Kim Lee", "hi all"},
      {"", zantic::LoadedByLine("Pat Doe")},
      {"Sam Ray", R"(wb <font color="#0000FF">Pat</font> :-))"},
      {"", zantic::BeganLine()},
      {"", zantic::ReasonLine(reason)},
      {"Jo Park", "<b>brb</b>, pizza's here"},
      {"Alex Finn", R"(<font color="#008000">my page: <a href="http://members.aol.com/alexfinn/">Alex's Corner</a>)"},
      {"", zantic::MinuteLine("1")},
      {"", zantic::ReasonLine(reason)},
      {"Kim Lee", R"(<font face="Comic Sans MS" color="#C00000">Pat, <i>idling</i> again?)"},
  };
  for (const auto& [speaker, text] : lines) {
    if (speaker.empty()) {
      zantic::SendChatLine(aol, text);
    } else {
      sim.Say(speaker, text);
    }
    if (!sim.WaitForChat(text)) return 1;
  }
  HWND first = FindWindowExW(sim.FirstRoom(), nullptr, L"RICHCNTL", nullptr);
  SendMessageA(FindWindowExW(sim.FirstRoom(), first, L"RICHCNTL", nullptr), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>("back soon"));
  std::this_thread::sleep_for(milliseconds(700));
  return drive::CaptureWindow(sim.Frame(), drive::Widen(shot)) ? 0 : 1;
}
