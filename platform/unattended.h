// Whether anyone can answer a modal question. Under SDL's offscreen or dummy
// video driver, when no video driver starts, or when KELDA_UNATTENDED is set
// to a non-empty value other than "0", nothing may wait for a user.
#pragma once

bool PlatformIsUnattended();
