#include "platform/dialog_service.h"

#include <atomic>
#include <cstdio>

namespace kavri {

namespace {

NonInteractiveDialogService g_fallback;
std::atomic<DialogService*> g_service{nullptr};

const char* KindText(TMessageKind kind) {
  switch (kind) {
    case TMessageKind::Warning: return "warning";
    case TMessageKind::Error: return "error";
    case TMessageKind::Information: break;
  }
  return "message";
}

}  // namespace

TDialogAnswer DefaultAnswer(TConfirmButtons buttons) {
  return buttons == TConfirmButtons::YesNo ? TDialogAnswer::No : TDialogAnswer::Cancel;
}

void NonInteractiveDialogService::ShowMessage(const std::string& text, TMessageKind kind) {
  std::fprintf(stderr, "kavri %s: %s\n", KindText(kind), text.c_str());
}

TDialogAnswer NonInteractiveDialogService::Confirm(const std::string& text, TConfirmButtons buttons, const std::string&) {
  std::fprintf(stderr, "kavri question (answered by default): %s\n", text.c_str());
  return DefaultAnswer(buttons);
}

bool NonInteractiveDialogService::InputQuery(const std::string&, const std::string&, std::string&) { return false; }

std::optional<std::string> NonInteractiveDialogService::ChooseOpenFile(const TFileDialogRequest&) {
  return std::nullopt;
}

std::optional<std::string> NonInteractiveDialogService::ChooseSaveFile(const TFileDialogRequest&) {
  return std::nullopt;
}

std::optional<TFontChoice> NonInteractiveDialogService::ChooseFont(const TFontChoice&) { return std::nullopt; }

std::optional<std::string> NonInteractiveDialogService::ChoosePicture(const TFileDialogRequest&) {
  return std::nullopt;
}

std::optional<TColor> NonInteractiveDialogService::ChooseColor(TColor) { return std::nullopt; }

DialogService& Dialogs() {
  DialogService* service = g_service.load(std::memory_order_acquire);
  return service ? *service : g_fallback;
}

DialogService* SetDialogService(DialogService* service) {
  DialogService* previous = g_service.exchange(service, std::memory_order_acq_rel);
  return previous ? previous : &g_fallback;
}

}  // namespace kavri
