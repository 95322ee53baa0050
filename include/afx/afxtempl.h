// The framework's collection templates: CArray (growable array), CList (doubly
// linked list with nodes carved from blocks) and CMap (hash map with separate
// chaining, associations carved from blocks), and the element helpers they
// share (HashKey, CompareElements, CPlex). Header-only: each module
// instantiates what it uses.
//
// Elements are made and copied the framework's way: default construction, then
// assignment. Allocation failure raises CMemoryException.
#pragma once

#include <afx/afxarray.h>
#include <afx/afxlist.h>
#include <afx/afxmap.h>
#include <afx/afxplex.h>
