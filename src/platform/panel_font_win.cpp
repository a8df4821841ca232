#include "platform/panel_font_win.h"

#include <string>

#include "base/texts.h"

namespace viz {
namespace {

LOGFONTW PanelLogFont(int points, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -::MulDiv(points, dpi, 72);
  lf.lfQuality = DEFAULT_QUALITY;
  const std::wstring face(Tr(Text::PanelFontFace));
  ::lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  if (UiLanguage() == Language::Japanese) {
    lf.lfCharSet = SHIFTJIS_CHARSET;
  } else {
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  }
  return lf;
}

// The face the font mapper really gave for `font`, and whether it is fixed-pitch.
bool SelectedFace(HFONT font, std::wstring* face, bool* fixedPitch) {
  UniqueDc dc(::CreateCompatibleDC(nullptr));
  if (!dc) return false;
  SelectGuard sel(dc.get(), font);
  wchar_t name[LF_FACESIZE] = {};
  TEXTMETRICW tm{};
  if (!::GetTextFaceW(dc.get(), LF_FACESIZE, name) || !::GetTextMetricsW(dc.get(), &tm))
    return false;
  *face = name;
  // The bit is named for fixed pitch but set for variable pitch.
  *fixedPitch = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
  return true;
}

}  // namespace

UniqueFont CreatePanelFont(int points, int dpi) {
  LOGFONTW lf = PanelLogFont(points, dpi);
  UniqueFont font(::CreateFontIndirectW(&lf));
  if (UiLanguage() == Language::Japanese || !font) return font;
  // A system without the face gets another one from the font mapper, which may be proportional:
  // then any fixed-pitch face of the modern family.
  std::wstring face;
  bool fixed = false;
  if (!SelectedFace(font.get(), &face, &fixed) ||
      (::lstrcmpiW(face.c_str(), lf.lfFaceName) != 0 && !fixed)) {
    lf.lfFaceName[0] = L'\0';
    UniqueFont fallback(::CreateFontIndirectW(&lf));
    if (fallback) font = std::move(fallback);
  }
  return font;
}

}  // namespace viz
