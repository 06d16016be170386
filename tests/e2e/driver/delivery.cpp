#include "delivery.h"

#include <map>

#include "command_table.h"
#include "pump.h"

namespace e2e {
namespace {

constexpr DWORD settleMs = 500;

std::map<ULONG_PTR, LRESULT> answers;
ULONG_PTR lastDelivery = 0;

void CALLBACK OnAnswered(HWND, UINT, ULONG_PTR delivery, LRESULT answer) { answers[delivery] = answer; }

std::optional<LRESULT> TakeAnswer(ULONG_PTR delivery) {
  PumpPendingMessages();
  const auto found = answers.find(delivery);
  if (found == answers.end()) return std::nullopt;
  const LRESULT answer = found->second;
  answers.erase(found);
  return answer;
}

ULONG_PTR Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const ULONG_PTR delivery = ++lastDelivery;
  if (!SendMessageCallbackW(window, message, wParam, lParam, OnAnswered, delivery)) {
    throw CommandError(SystemError("SendMessageCallback"));
  }
  return delivery;
}

}  // namespace

std::optional<LRESULT> AskWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD waitMs) {
  const ULONG_PTR delivery = Send(window, message, wParam, lParam);
  std::optional<LRESULT> answer;
  PumpUntil([&] { return (answer = TakeAnswer(delivery)).has_value(); }, waitMs);
  return answer;
}

Delivery DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD waitMs) {
  const ULONG_PTR delivery = Send(window, message, wParam, lParam);
  // Messages sent from one thread are handled in order, so once this one is answered
  // the first has either been answered too or is running a nested message loop.
  DWORD_PTR ignored = 0;
  const bool pumped = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, waitMs, &ignored) != 0;
  std::optional<LRESULT> answer = TakeAnswer(delivery);
  if (!pumped && !answer) {
    // Without that ordering (the window is going away) the answer may still be on its way.
    PumpUntil([&] { return (answer = TakeAnswer(delivery)).has_value() || !IsWindow(window); }, settleMs);
  }
  if (answer) return Delivery::Handled;
  if (!IsWindow(window)) return Delivery::Closed;
  return pumped ? Delivery::Modal : Delivery::Busy;
}

void WriteDelivery(JsonWriter& json, Delivery delivery) {
  json.Key("handled").Bool(delivery == Delivery::Handled);
  if (delivery == Delivery::Modal) json.Key("modal").Bool(true);
  if (delivery == Delivery::Busy) json.Key("busy").Bool(true);
  if (delivery == Delivery::Closed) json.Key("closed").Bool(true);
}

void RequireClickable(HWND control) {
  if (!IsWindowVisible(control)) throw CommandError("the control is not visible");
  if (!IsWindowEnabled(control)) throw CommandError("the control is disabled");
  const HWND root = GetAncestor(control, GA_ROOT);
  if (root && root != control && !IsWindowEnabled(root)) {
    throw CommandError("its window is disabled (is a modal box open?)");
  }
}

}  // namespace e2e
