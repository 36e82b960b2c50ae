#pragma once

// What every collaborator of the main window is built with: the window,
// its controls, the platform services, the shared members, the texts, the
// status bar and message boxes, the menus and the other collaborators (by
// their interfaces, reached when called, so that the order in which they
// are made does not matter).

class IMainShell;
class IViewControl;
class MainMenus;
class QMainWindow;
class StatusMessages;
struct MainControls;
struct MainParts;
struct MainServices;
struct MainState;
struct MainWidgets;
class MainTexts;

struct MainContext
{
    QMainWindow& window;
    MainWidgets& widgets;
    MainServices& services;
    MainState& state;
    MainTexts& texts;
    StatusMessages& status;
    MainMenus& menus;
    MainControls& controls;
    IViewControl& view;
    // The window's own operations (caption, close request, ...).
    IMainShell& shell;
    MainParts& parts;
};
