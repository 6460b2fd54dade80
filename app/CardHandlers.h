// The card dialogs (backup, restore) follow the engine through the same four
// handlers while they run, and let go of them when they close.
#pragma once

#include "engine/ScanEngine.h"
#include "framework/core/delegate.h"

template <class Form>
void ConnectCardHandlers(TScanEngine& engine, Form* form) {
  engine.OnProgress = Bind<&Form::EngineProgress>(form);
  engine.OnFinished = Bind<&Form::EngineFinished>(form);
  engine.OnReadError = Bind<&Form::EngineReadError>(form);
  engine.OnError = Bind<&Form::EngineError>(form);
}

inline void DisconnectCardHandlers(TScanEngine& engine) {
  engine.OnProgress.Clear();
  engine.OnFinished.Clear();
  engine.OnReadError.Clear();
  engine.OnError.Clear();
}
