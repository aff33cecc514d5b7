#pragma once

// Something drawn into the pack's levels that is not part of the pack: the
// placement preview, inverted into the terrain while it shows. Whoever reads
// the pack reads it through CLevelPack::WithoutPreviews() or Contents(),
// which lift every registered overlay out for the time of the read.
class IPackOverlay {
 public:
  virtual ~IPackOverlay() = default;
  // Takes what it drew out of the levels, leaving exactly what was there
  // before it was drawn. Paints nothing and touches no flag.
  virtual void Lift() = 0;
  // Puts it back, bit for bit, after a Lift().
  virtual void Lay() = 0;
};
