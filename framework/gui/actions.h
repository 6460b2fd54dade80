// Actions in their minimal form: a command object a control runs in place of its
// own click handler, with the checked state and image index a control may show.
// There are no action links: a control takes what it needs from its action when
// the action is assigned.
#pragma once

#include "framework/core/classes.h"
#include "framework/core/delegate.h"

class TCustomImageList;

class TCustomActionList : public TComponent {
 public:
  explicit TCustomActionList(TComponent* AOwner);

  // The images the actions' ImageIndex refers to; a reference, never freed here.
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TCustomImageList* images_ = nullptr;
};

class TActionList : public TCustomActionList {
 public:
  using TCustomActionList::TCustomActionList;
};

class TBasicAction : public TComponent {
 public:
  explicit TBasicAction(TComponent* AOwner);

  // Runs OnExecute with the action as sender; false when there is no handler.
  virtual bool Execute();

  TNotifyEvent OnExecute;
};

class TCustomAction : public TBasicAction {
 public:
  explicit TCustomAction(TComponent* AOwner);

  // The list the action belongs to; a reference, forgotten when the list goes.
  TCustomActionList* ActionList() const { return actionList_; }
  void SetActionList(TCustomActionList* value);

  bool Checked = false;
  int ImageIndex = -1;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TCustomActionList* actionList_ = nullptr;
};

class TAction : public TCustomAction {
 public:
  using TCustomAction::TCustomAction;
};
