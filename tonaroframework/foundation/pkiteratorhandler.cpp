#include "tonaroframework/foundation/pkiteratorhandler.h"

bool PKIteratorHandler::Iterate(__PKBase*) { return true; }

bool PKIteratorHandler::IterateSecondPass(__PKBase*) { return true; }

bool PKIteratorHandler::IterateIndex(__PKBase*, int) { return true; }

bool PKIteratorHandler::IsMatch(__PKBase*) { return true; }

int PKIteratorHandler::Compare(__PKBase*, __PKBase*) { return 0; }

bool PKIteratorHandler::PreIterate() { return true; }

bool PKIteratorHandler::StartIterate() { return true; }

void PKIteratorHandler::PostIterate() {}

void PKIteratorHandler::EndIterate() {}
