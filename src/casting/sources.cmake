target_sources(lotgrid_ui PRIVATE
    casting/lineentry.h casting/lineentry.cpp
    casting/randomsource.h casting/randomsource.cpp
    casting/castdraw.h casting/castdraw.cpp
    casting/castdialog.h casting/castdialog.cpp
    casting/progresswindow.h casting/progresswindow.cpp
    casting/autocast.h casting/autocast.cpp
)
