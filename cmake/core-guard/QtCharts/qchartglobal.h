// Found before Qt's own header of this name by the core library and the command line tool only:
// every header of Qt's GUI modules includes it, so a core source that uses one stops the build.
#error "the core layer (src/core, src/cli) must not use Qt GUI, Widgets, PrintSupport or Charts"
