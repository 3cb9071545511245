# The library's constants and enumeration values, as quorvane.h gives them.
# Enumerations are plain ints, as the library reads them.

Transparent = -0x1000000  # 0xFF000000 read as a signed 32-bit int: no colour
NoValue = 1.7e308  # a missing data point, an unset limit or step

# BaseChart.ImgFormat, the encodings of makeChart2
PNG, GIF, JPG, WMP = 0, 1, 2, 3

# Alignment, laid out like a numeric keypad
AlignBottomLeft, AlignBottomCentre, AlignBottomRight = 1, 2, 3
AlignLeft, AlignCentre, AlignRight = 4, 5, 6
AlignTopLeft, AlignTopCentre, AlignTopRight = 7, 8, 9

# SymbolType
NoSymbol, SquareSymbol, DiamondSymbol, TriangleSymbol = 0, 1, 2, 3
LeftTriangleSymbol, RightTriangleSymbol, InvertedTriangleSymbol = 4, 5, 6
CircleSymbol, CrossSymbol, Cross2Symbol = 7, 8, 9

# Layer.DataCombineMethod
Overlay, Stack, Side = 0, 1, 2

# DrawArea.PaletteMode, DrawArea.DitherMethod and DrawArea.SmoothMode (the
# shapes of DrawArea.setAntiAlias and BaseChart.setAntiAlias)
TryPalette, ForcePalette, NoPalette = 0, 1, 2
Quantize, OrderedDither, ErrorDiffusion = 0, 1, 2
SmoothOff, SmoothQuarters, SmoothFine = 0, 1, 2

# TTFText.AntiAliasMode
AntiAliasOff, AntiAliasOn, AntiAliasAuto = 0, 1, 2
