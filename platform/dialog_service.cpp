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

TErrorBoxNotes::TErrorBoxNotes() : next_(SetDialogService(this)) {}

TErrorBoxNotes::~TErrorBoxNotes() { SetDialogService(next_); }

void TErrorBoxNotes::ShowMessage(const std::string& text, TMessageKind kind) {
  if (kind == TMessageKind::Error) last_ = text;
  next_->ShowMessage(text, kind);
}

TDialogAnswer TErrorBoxNotes::Confirm(const std::string& text, TConfirmButtons buttons, const std::string& title) {
  return next_->Confirm(text, buttons, title);
}

bool TErrorBoxNotes::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  return next_->InputQuery(caption, prompt, value);
}

std::optional<std::string> TErrorBoxNotes::ChooseOpenFile(const TFileDialogRequest& request) {
  return next_->ChooseOpenFile(request);
}

std::optional<std::string> TErrorBoxNotes::ChooseSaveFile(const TFileDialogRequest& request) {
  return next_->ChooseSaveFile(request);
}

std::optional<TFontChoice> TErrorBoxNotes::ChooseFont(const TFontChoice& initial) { return next_->ChooseFont(initial); }

std::optional<std::string> TErrorBoxNotes::ChoosePicture(const TFileDialogRequest& request) {
  return next_->ChoosePicture(request);
}

std::optional<TColor> TErrorBoxNotes::ChooseColor(TColor initial) { return next_->ChooseColor(initial); }

}  // namespace kavri
