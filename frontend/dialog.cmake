find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(quorvel_dialog OBJECT
    dialog_units.cpp
    failure_tooltip.cpp
    quorvel_dlg.cpp
    quorvel_app.cpp
    resources/quorvel.qrc
)
set_target_properties(quorvel_dialog PROPERTIES AUTOMOC ON AUTORCC ON)
target_link_libraries(quorvel_dialog PUBLIC quorvel_request Qt6::Widgets)

add_executable(quorvel main.cpp)
target_link_libraries(quorvel PRIVATE quorvel_dialog)
