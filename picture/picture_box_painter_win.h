// Shows pictures in the window runtime's picture boxes.
#pragma once

namespace picture {

// Makes picture boxes show their pictures; called once when the program starts.
void InstallPictureBoxPainter();

}  // namespace picture
