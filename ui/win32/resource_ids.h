// Identifiers of the resources embedded in zantic-idle.exe. Included by the resource script
// as well as by C++, so it holds nothing but #defines.
#pragma once

#define ZANTIC_IDI_ICON 101        // zantic.ico: the window icon
#define ZANTIC_IDR_BACKGROUND 201  // background.jpg (RCDATA): the window's background picture
#define ZANTIC_IDR_LOGO 202        // logo.jpg (RCDATA): the logo shown by Picture1
