// The policy and workstation queries behind "Domain Membership".
#pragma once

#include "checks/accounts/domain_membership.h"

DomainMembershipFacts QueryDomainMembershipFacts();
