// The whole dialog library in one include.
#pragma once

#include "DG/Events.hpp"
#include "DG/Geometry.hpp"
#include "DG/Help.hpp"
#include "DG/Icon.hpp"
#include "DG/Item.hpp"
#include "DG/Keys.hpp"
#include "DG/ListBox.hpp"
#include "DG/ModalRecord.hpp"
#include "DG/Observers.hpp"
#include "DG/Panel.hpp"
#include "DG/ResourceFormat.hpp"
#include "DG/TextRendering.hpp"
#include "DG/User.hpp"
#include "DG/UserAgent.hpp"
