#include "gl_test.h"

TestWindow GlTest::window_;
bool GlTest::opened_ = false;
