#pragma once

namespace korvel {

class CamDesigner;

// Draws the cam of the focal length in the FocalLength box into the preview
// box at true size, captioned and titled, mirrored on request, then prints and
// saves it as the output options say.
void DrawGraph(CamDesigner& designer);

}  // namespace korvel
