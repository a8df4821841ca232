#include "capture/grid_style.h"

namespace viz {

GridStyle GridStyleOf(const CommandList& commands) {
  GridStyle g;
  const Cmd color = commands.CheckedInGroup(RadioGroup::GridColor).value_or(Cmd::Grid_Gray);
  g.color = static_cast<uint32_t>(commands.Tag(color));
  g.pen = color == Cmd::Grid_Invert        ? GridPen::Not
          : color == Cmd::Grid_Transparent ? GridPen::Mask
                                           : GridPen::Copy;
  const Cmd sub = commands.CheckedInGroup(RadioGroup::SubGrid).value_or(Cmd::Grid_SubBlue);
  g.subShown = sub != Cmd::Grid_SubNone;
  g.subColor = static_cast<uint32_t>(commands.Tag(g.subShown ? sub : Cmd::Grid_SubBlue));
  return g;
}

}  // namespace viz
