target_sources(lotgrid_ui PRIVATE
    ui/appicon.h ui/appicon.cpp
    ui/chartsheet.h ui/chartsheet.cpp
    ui/environment.h ui/environment.cpp
    ui/lineglyph.h ui/lineglyph.cpp
    ui/linefield.h ui/linefield.cpp
    ui/mainwindow.h ui/mainwindow.cpp
    ui/platform.h ui/platform.cpp
    ui/screenshot.h ui/screenshot.cpp
    ui/six.h
    ui/textconv.h
    ui/todayline.h ui/todayline.cpp
)
