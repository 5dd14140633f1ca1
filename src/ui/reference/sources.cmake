target_sources(lotgrid_ui PRIVATE
    ui/reference/referencewindows.h ui/reference/referencewindows.cpp
)
