#include "gl_trace.h"

#include <GL/gl.h>
#include <dlfcn.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace {

bool s_recording = false;
std::vector<GlTraceCall> s_calls;

// Mesa's function of that name: the next definition after this library.
void* RealFunction(const char* name)
{
    void* real = dlsym(RTLD_NEXT, name);
    if (!real) {
        fprintf(stderr, "gl_trace: no %s after the tracer\n", name);
        abort();
    }
    return real;
}

void Record(const char* name, std::initializer_list<double> args)
{
    GlTraceCall call;
    call.name = name;
    call.args.assign(args.begin(), args.end());
    s_calls.push_back(std::move(call));
}

template <typename T>
void RecordArray(const char* name, std::initializer_list<double> head, const T* values,
                 int count)
{
    Record(name, head);
    for (int i = 0; i < count; ++i)
        s_calls.back().args.push_back(values ? static_cast<double>(values[i]) : 0.0);
}

// Values a glLight*v parameter carries.
int LightValueCount(GLenum pname)
{
    switch (pname) {
    case GL_AMBIENT:
    case GL_DIFFUSE:
    case GL_SPECULAR:
    case GL_POSITION:
        return 4;
    case GL_SPOT_DIRECTION:
        return 3;
    default:
        return 1;
    }
}

// The bytes an upload of w x h pixels of unsigned bytes reads under the
// unpack state in force, by GL's rule: rows of the row length (the width
// when 0) padded to the alignment, after the skipped rows and pixels; the
// last row ends with its last pixel. 0 for other types.
size_t UnpackBytes(GLsizei w, GLsizei h, GLenum format, GLenum type)
{
    if (type != GL_UNSIGNED_BYTE || w <= 0 || h <= 0)
        return 0;
    size_t components = 1;
    if (format == GL_RGB || format == GL_BGR)
        components = 3;
    else if (format == GL_RGBA || format == GL_BGRA)
        components = 4;
    else if (format == GL_LUMINANCE_ALPHA)
        components = 2;
    static const auto getIntegerv =
        reinterpret_cast<void(GLAPIENTRY*)(GLenum, GLint*)>(RealFunction("glGetIntegerv"));
    GLint alignment = 4, rowLength = 0, skipRows = 0, skipPixels = 0;
    getIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    getIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    getIntegerv(GL_UNPACK_SKIP_ROWS, &skipRows);
    getIntegerv(GL_UNPACK_SKIP_PIXELS, &skipPixels);
    const size_t row = components * size_t(rowLength > 0 ? rowLength : w);
    const size_t stride = (row + size_t(alignment) - 1) / size_t(alignment) * size_t(alignment);
    return size_t(skipRows) * stride + size_t(skipPixels) * components + size_t(h - 1) * stride +
           components * size_t(w);
}

}  // namespace

// Each interposer looks Mesa's function up once, records when asked, and
// forwards the call unchanged.
#define GL_TRACE_REAL(ret, name, params) \
    static const auto real = reinterpret_cast<ret(GLAPIENTRY*) params>(RealFunction(#name))

#define GL_TRACE(name, params, forward, ...)        \
    extern "C" void GLAPIENTRY name params          \
    {                                               \
        GL_TRACE_REAL(void, name, params);          \
        if (s_recording)                            \
            Record(#name, {__VA_ARGS__});           \
        real forward;                               \
    }

#define GL_TRACE_ARRAY(name, params, forward, values, count, ...) \
    extern "C" void GLAPIENTRY name params                         \
    {                                                              \
        GL_TRACE_REAL(void, name, params);                         \
        if (s_recording)                                           \
            RecordArray(#name, {__VA_ARGS__}, values, count);      \
        real forward;                                              \
    }

extern "C" void GLAPIENTRY glBegin(GLenum mode)
{
    GL_TRACE_REAL(void, glBegin, (GLenum));
    if (s_recording) {
        static const auto getFloatv =
            reinterpret_cast<void(GLAPIENTRY*)(GLenum, GLfloat*)>(RealFunction("glGetFloatv"));
        Record("glBegin", {static_cast<double>(mode)});
        s_calls.back().modelview.resize(16);
        getFloatv(GL_MODELVIEW_MATRIX, s_calls.back().modelview.data());
    }
    real(mode);
}
GL_TRACE(glEnd, (), ())

// Vertex attributes.
GL_TRACE(glVertex2f, (GLfloat x, GLfloat y), (x, y), x, y)
GL_TRACE(glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
GL_TRACE(glVertex3d, (GLdouble x, GLdouble y, GLdouble z), (x, y, z), x, y, z)
GL_TRACE_ARRAY(glVertex3fv, (const GLfloat* v), (v), v, 3)
GL_TRACE(glColor3f, (GLfloat r, GLfloat g, GLfloat b), (r, g, b), r, g, b)
GL_TRACE(glColor4f, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a), r, g, b, a)
GL_TRACE(glColor3ub, (GLubyte r, GLubyte g, GLubyte b), (r, g, b), double(r), double(g),
         double(b))
GL_TRACE(glColor4ub, (GLubyte r, GLubyte g, GLubyte b, GLubyte a), (r, g, b, a), double(r),
         double(g), double(b), double(a))
GL_TRACE_ARRAY(glColor3fv, (const GLfloat* v), (v), v, 3)
GL_TRACE_ARRAY(glColor4fv, (const GLfloat* v), (v), v, 4)
GL_TRACE(glTexCoord2f, (GLfloat s, GLfloat t), (s, t), s, t)
GL_TRACE_ARRAY(glTexCoord2fv, (const GLfloat* v), (v), v, 2)
GL_TRACE(glNormal3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
GL_TRACE_ARRAY(glNormal3fv, (const GLfloat* v), (v), v, 3)

// Matrices; the double forms are what GLU's helpers call.
GL_TRACE(glMatrixMode, (GLenum mode), (mode), double(mode))
GL_TRACE(glLoadIdentity, (), ())
GL_TRACE(glPushMatrix, (), ())
GL_TRACE(glPopMatrix, (), ())
GL_TRACE(glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
GL_TRACE(glTranslated, (GLdouble x, GLdouble y, GLdouble z), (x, y, z), x, y, z)
GL_TRACE(glRotatef, (GLfloat a, GLfloat x, GLfloat y, GLfloat z), (a, x, y, z), a, x, y, z)
GL_TRACE(glRotated, (GLdouble a, GLdouble x, GLdouble y, GLdouble z), (a, x, y, z), a, x, y,
         z)
GL_TRACE(glScalef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
GL_TRACE(glScaled, (GLdouble x, GLdouble y, GLdouble z), (x, y, z), x, y, z)
GL_TRACE_ARRAY(glLoadMatrixf, (const GLfloat* m), (m), m, 16)
GL_TRACE_ARRAY(glLoadMatrixd, (const GLdouble* m), (m), m, 16)
GL_TRACE_ARRAY(glMultMatrixf, (const GLfloat* m), (m), m, 16)
GL_TRACE_ARRAY(glMultMatrixd, (const GLdouble* m), (m), m, 16)
GL_TRACE(glOrtho, (GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f),
         (l, r, b, t, n, f), l, r, b, t, n, f)
GL_TRACE(glFrustum, (GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f),
         (l, r, b, t, n, f), l, r, b, t, n, f)
GL_TRACE(glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h), double(x),
         double(y), double(w), double(h))

// State.
GL_TRACE(glEnable, (GLenum cap), (cap), double(cap))
GL_TRACE(glDisable, (GLenum cap), (cap), double(cap))
GL_TRACE(glBlendFunc, (GLenum s, GLenum d), (s, d), double(s), double(d))
GL_TRACE(glClear, (GLbitfield mask), (mask), double(mask))
GL_TRACE(glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), (r, g, b, a), r, g,
         b, a)
GL_TRACE(glClearDepth, (GLclampd depth), (depth), depth)
GL_TRACE(glDepthFunc, (GLenum func), (func), double(func))
GL_TRACE(glDepthMask, (GLboolean flag), (flag), double(flag))
GL_TRACE(glShadeModel, (GLenum mode), (mode), double(mode))
GL_TRACE(glHint, (GLenum target, GLenum mode), (target, mode), double(target), double(mode))
GL_TRACE(glCullFace, (GLenum mode), (mode), double(mode))
GL_TRACE(glPolygonMode, (GLenum face, GLenum mode), (face, mode), double(face), double(mode))
GL_TRACE(glLineWidth, (GLfloat width), (width), width)
GL_TRACE(glPushAttrib, (GLbitfield mask), (mask), double(mask))
GL_TRACE(glPopAttrib, (), ())
GL_TRACE_ARRAY(glLightfv, (GLenum light, GLenum pname, const GLfloat* params),
               (light, pname, params), params, LightValueCount(pname), double(light),
               double(pname))
GL_TRACE_ARRAY(glMaterialfv, (GLenum face, GLenum pname, const GLfloat* params),
               (face, pname, params), params, LightValueCount(pname), double(face),
               double(pname))

// Textures.
GL_TRACE(glBindTexture, (GLenum target, GLuint texture), (target, texture), double(target),
         double(texture))
GL_TRACE(glTexParameteri, (GLenum target, GLenum pname, GLint param), (target, pname, param),
         double(target), double(pname), double(param))
GL_TRACE(glTexEnvi, (GLenum target, GLenum pname, GLint param), (target, pname, param),
         double(target), double(pname), double(param))
// An upload also records how many bytes GL's unpack state makes it read from
// the pixels and how many the heap block there holds: every upload in the
// system reads a malloc'd buffer.
extern "C" void GLAPIENTRY glTexImage2D(GLenum target, GLint level, GLint internal, GLsizei w,
                                        GLsizei h, GLint border, GLenum format, GLenum type,
                                        const GLvoid* pixels)
{
    GL_TRACE_REAL(void, glTexImage2D,
                  (GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const GLvoid*));
    if (s_recording) {
        Record("glTexImage2D", {double(target), double(level), double(internal), double(w),
                                double(h), double(border), double(format), double(type)});
        s_calls.back().unpackBytes = UnpackBytes(w, h, format, type);
        s_calls.back().heldBytes = pixels ? malloc_usable_size(const_cast<GLvoid*>(pixels)) : 0;
    }
    real(target, level, internal, w, h, border, format, type, pixels);
}
GL_TRACE(glCopyTexImage2D,
         (GLenum target, GLint level, GLenum internal, GLint x, GLint y, GLsizei w, GLsizei h,
          GLint border),
         (target, level, internal, x, y, w, h, border), double(target), double(level),
         double(internal), double(x), double(y), double(w), double(h), double(border))
GL_TRACE(glCopyTexSubImage2D,
         (GLenum target, GLint level, GLint xoff, GLint yoff, GLint x, GLint y, GLsizei w,
          GLsizei h),
         (target, level, xoff, yoff, x, y, w, h), double(target), double(level), double(xoff),
         double(yoff), double(x), double(y), double(w), double(h))

// Texture names and pixel unpacking, around an upload. glGenTextures records
// n, then the names it got.
extern "C" void GLAPIENTRY glGenTextures(GLsizei n, GLuint* textures)
{
    GL_TRACE_REAL(void, glGenTextures, (GLsizei, GLuint*));
    real(n, textures);
    if (s_recording)
        RecordArray("glGenTextures", {double(n)}, textures, n);
}
GL_TRACE(glPixelStorei, (GLenum pname, GLint param), (pname, param), double(pname),
         double(param))
// Queries record what was asked, as a save of state before a change would.
extern "C" void GLAPIENTRY glGetIntegerv(GLenum pname, GLint* params)
{
    GL_TRACE_REAL(void, glGetIntegerv, (GLenum, GLint*));
    if (s_recording)
        Record("glGetIntegerv", {double(pname)});
    real(pname, params);
}

// Display lists.
GL_TRACE(glListBase, (GLuint base), (base), double(base))
GL_TRACE(glCallList, (GLuint list), (list), double(list))
// n and type, then the names themselves when they are bytes, as text is.
extern "C" void GLAPIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists)
{
    GL_TRACE_REAL(void, glCallLists, (GLsizei, GLenum, const GLvoid*));
    if (s_recording) {
        if (type == GL_UNSIGNED_BYTE)
            RecordArray("glCallLists", {double(n), double(type)}, static_cast<const GLubyte*>(lists),
                        n);
        else
            Record("glCallLists", {double(n), double(type)});
    }
    real(n, type, lists);
}

bool GlTraceInterposing()
{
    return dlsym(RTLD_DEFAULT, "glBegin") == reinterpret_cast<void*>(&glBegin);
}

void GlTraceStart()
{
    s_calls.clear();
    s_recording = true;
}

void GlTraceStop()
{
    s_recording = false;
}

const std::vector<GlTraceCall>& GlTraceCalls()
{
    return s_calls;
}

size_t GlTraceCount(const char* name)
{
    size_t count = 0;
    for (const GlTraceCall& call : s_calls)
        if (call.name == name)
            ++count;
    return count;
}
