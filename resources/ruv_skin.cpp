// The skin resource is added to this library by CMake (qt_add_resources);
// the library needs one source file of its own.
namespace RuvResources {
int SkinAnchor = 0;
}
