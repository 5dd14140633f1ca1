target_sources(lotgrid_ui PRIVATE
    ui/reference/referencewindows.h
    ui/reference/windowparts.h ui/reference/windowparts.cpp
    ui/reference/fenshen.h ui/reference/fenshen.cpp
    ui/reference/tablewindows.cpp
    ui/reference/textwindows.cpp
)
