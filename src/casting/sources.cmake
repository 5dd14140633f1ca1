target_sources(lotgrid_ui PRIVATE
    casting/lineentry.h casting/lineentry.cpp
    casting/randomsource.h casting/randomsource.cpp
    casting/autocast.h casting/autocast.cpp
)
