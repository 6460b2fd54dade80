// What every skinned class answers when the skin it draws from changes. A form-wide
// skin change walks the form's controls and calls this on each that has it, so a
// new skinned class joins by implementing it; there is no table of classes.
#pragma once

class TksSkinData;

class IksSkinChange {
 public:
  virtual TksSkinData* SkinData() const = 0;
  // Drops everything that points into the old skin.
  virtual void BeforeChangeSkinData() = 0;
  // Takes a new or changed skin.
  virtual void ChangeSkinData() = 0;

 protected:
  ~IksSkinChange() = default;
};
